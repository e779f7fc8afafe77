// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The standard error box: a modal critical message titled "Error" with one
// OK button, shown until the user closes it.

#include <QString>

class QWidget;

// Shows the box over `parent`.
void showErrorBox(QWidget* parent, const QString& message);

// Shows the box over the active window, so that it stays above a window that
// is kept on top.
void showErrorBoxOverActiveWindow(const QString& message);
