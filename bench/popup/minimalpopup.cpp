// SPDX-License-Identifier: GPL-2.0-or-later
// The benchmark's yardstick: the least a Qt 6 program must do to map a
// frameless 516 x 360 window holding a list.

#include <QApplication>
#include <QListWidget>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(516, 360);
    auto* list = new QListWidget(&window);
    list->setGeometry(0, 55, 516, 250);
    list->addItems({QStringLiteral("performance"), QStringLiteral("powersave"),
                    QStringLiteral("presentation")});
    window.show();
    return application.exec();
}
