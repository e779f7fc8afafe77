// SPDX-License-Identifier: GPL-2.0-or-later
#include "errorbox.h"

#include <QApplication>
#include <QMessageBox>

void showErrorBox(QWidget* parent, const QString& message)
{
    // Messages carry scheme and file names, which are text: a name such as
    // "<b>fast</b>" is shown as it is, never read as markup.
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), message, QMessageBox::Ok,
                    parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void showErrorBoxOverActiveWindow(const QString& message)
{
    showErrorBox(QApplication::activeWindow(), message);
}
