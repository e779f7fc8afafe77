// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The pictures of the stored layout. The layout names each picture by its
// resource path and gets it through this function: the build has decoded
// them already, so the popup neither reads nor decodes an image file (nor
// loads the image format plug-ins) while it starts.

#include <QPixmap>

// The pixmap of the picture the layout names `path`; a picture that the build
// did not embed is read from its resource.
QPixmap schemepopPicture(const char* path);
