// SPDX-License-Identifier: GPL-2.0-or-later
#include "keyline.h"
#include "UPMComm.h"

namespace {

// line without its first `cut` bytes and its last `dropAtEnd` bytes; empty
// when nothing is left.
QByteArray cutLine(const QByteArray& line, qsizetype cut, qsizetype dropAtEnd)
{
    const qsizetype length = line.size() - cut - dropAtEnd;
    return length > 0 ? line.mid(cut, length) : QByteArray("");
}

QByteArray withoutLeadingControls(const QByteArray& text)
{
    qsizetype i = 0;
    while (i < text.size() && static_cast<uchar>(text[i]) <= 32) {
        ++i;
    }
    return text.mid(i);
}

} // namespace

bool IsCommentLine(const QByteArray& line)
{
    for (const char c : line) {
        if (c != ' ' && c != '\t') {
            return c == '#';
        }
    }
    return false;
}

bool ParseKeyLine(const QByteArray& line, const QByteArray& key, QByteArray& value, int mode)
{
    if (mode == 0) {
        // KEY="value": the cut counts from the line's start, so only a line
        // that begins with the key reads right. A commented-out assignment is
        // never the key's line.
        if (IsCommentLine(line) || !line.contains(key + '=')) {
            return false;
        }
        value = cutLine(line, key.size() + 2, 1);
        return true;
    }
    // "Label:   value" of the battery state files.
    if (!line.contains(key + ':')) {
        return false;
    }
    value = withoutLeadingControls(cutLine(line, key.size() + 1, 0));
    return true;
}

QByteArray FormatKeyLine(const QByteArray& key, const QByteArray& value)
{
    return key + "=\"" + value + '"';
}
