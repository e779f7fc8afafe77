// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// One of the popup's pictures as the build decoded it from its file (see
// artwork/embedpictures.cpp): 32-bit pixels, row after row.

#include <QImage>
#include <QtGlobal>

struct EmbeddedPicture
{
    const char* path; // the resource path the stored layout names the picture by
    int width;
    int height;
    QImage::Format format;
    const quint32* pixels;
};

// Every embedded picture; the list ends with an entry without a path.
extern const EmbeddedPicture embeddedPictures[];
