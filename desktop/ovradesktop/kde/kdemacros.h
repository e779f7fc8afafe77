// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

/// Marks a function a library exports although the project builds with hidden
/// symbol visibility, as KDE 3 applets mark their factory:
/// `extern "C" KDE_EXPORT KPanelApplet* init(QWidget*, const QString&)`.
#define KDE_EXPORT __attribute__((visibility("default")))
