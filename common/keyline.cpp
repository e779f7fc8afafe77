// SPDX-License-Identifier: GPL-2.0-or-later
#include "keyline.h"
#include "UPMComm.h"
#include "batteries/popupreading.h"
#include "powerdaemon/assignmentline.h"

#include <string_view>

namespace {

std::string_view toView(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

// line without its first `cut` bytes and its last `dropAtEnd` bytes; empty
// when nothing is left.
QByteArray cutLine(const QByteArray& line, qsizetype cut, qsizetype dropAtEnd)
{
    const qsizetype length = line.size() - cut - dropAtEnd;
    return length > 0 ? line.mid(cut, length) : QByteArray("");
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

bool ParseAssignmentLine(const QByteArray& line, const QByteArray& key, QByteArray& value)
{
    // A commented-out assignment is never the key's line.
    if (IsCommentLine(line) || !line.contains(key + '=')) {
        return false;
    }
    value = cutLine(line, key.size() + 2, 1);
    return true;
}

bool ParseLabelLine(const QByteArray& line, const QByteArray& label, QByteArray& value)
{
    const QByteArray labelWithColon = label + ':';
    const auto found = batteries::labelLineValue(toView(line), toView(labelWithColon));
    if (!found) {
        return false;
    }
    value = QByteArray(found->data(), qsizetype(found->size()));
    return true;
}

bool ParseKeyLine(const QByteArray& line, const QByteArray& key, QByteArray& value, int mode)
{
    return mode == 0 ? ParseAssignmentLine(line, key, value) : ParseLabelLine(line, key, value);
}

QByteArray FormatKeyLine(const QByteArray& key, const QByteArray& value)
{
    return key + '=' + QByteArray::fromStdString(powerdaemon::doubleQuoted(toView(value)));
}
