// SPDX-License-Identifier: GPL-2.0-or-later
#include "schemepoppictures.h"

#include "embeddedpicture.h"

#include <QString>

#include <cstring>

QPixmap schemepopPicture(const char* path)
{
    for (const EmbeddedPicture* picture = embeddedPictures; picture->path; ++picture) {
        if (std::strcmp(picture->path, path) == 0) {
            // The pixels stay where the program holds them; the pixmap
            // converts them as it would the decoded file.
            const QImage image(reinterpret_cast<const uchar*>(picture->pixels), picture->width,
                               picture->height, picture->width * 4, picture->format);
            return QPixmap::fromImage(image);
        }
    }
    return QPixmap(QString::fromUtf8(path));
}
