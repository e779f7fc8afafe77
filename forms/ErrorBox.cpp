// SPDX-License-Identifier: GPL-2.0-or-later
#include "ErrorBox.h"

#include <QApplication>
#include <QMessageBox>

void showErrorBox(QWidget* parent, const QString& message)
{
    QMessageBox::critical(parent, QStringLiteral("Error"), message, QMessageBox::Ok);
}

void showErrorBoxOverActiveWindow(const QString& message)
{
    showErrorBox(QApplication::activeWindow(), message);
}
