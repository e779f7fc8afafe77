// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Splitting a text file's bytes into lines.

#include <QByteArray>
#include <QList>

// The lines of a text, each without its line feed. Carriage returns never
// belong to a line: one before a line feed ends the line with it, any other
// one is dropped. Bytes after the last line feed form one more line; an empty
// text has no lines.
QList<QByteArray> SplitTextLines(const QByteArray& text);
