// SPDX-License-Identifier: GPL-2.0-or-later
// Draws the popup's artwork into PNG files: drawartwork OUTPUT-DIRECTORY.

#include "artwork.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: drawartwork OUTPUT-DIRECTORY\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (const auto& [name, image] : artwork::all()) {
        const QString path = out.filePath(name);
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "drawartwork: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
