// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The popup's artwork, drawn in code: the masthead and the three glyph strips
// of its image buttons. drawartwork writes them as the PNG files that ship
// with the program; a test compares the shipped files with these drawings.

#include <QImage>
#include <QString>

#include <utility>
#include <vector>

namespace artwork {

// 520 x 38, 24 bits per pixel: a black band with a red disc holding a white
// battery outline and a yellow-green spark near its right end.
QImage masthead();

// 64 x 16, 256 colours: four frames of a square window-close button.
QImage closeStrip();

// 176 x 44, 24 bits per pixel: four frames of a circular button with a white
// X-shaped mark (closeMarkStrip) or a white laptop (openPowerManagerStrip).
// The bottom row is pure red, the strips' transparent colour.
QImage closeMarkStrip();
QImage openPowerManagerStrip();

// Every picture with the file name it ships under.
std::vector<std::pair<QString, QImage>> all();

} // namespace artwork
