// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Line readings shared by the configuration reader, the key update and the
// battery state files.

#include <QByteArray>

// A shell comment: the first byte that is not a blank or tab is "#".
bool IsCommentLine(const QByteArray& line);

// KEY="value": a line that is no comment and holds "key=". The value is cut
// by position, counted from the line's start, so only a line that begins
// with the key reads right. False, value untouched, for any other line.
bool ParseAssignmentLine(const QByteArray& line, const QByteArray& key, QByteArray& value);

// "Label:   value" of the battery state files, as the popup reads them
// (batteries::labelLineValue): a line that holds "label:"; the value is
// what follows the label and its colon, without the leading blanks and
// control bytes. False, value untouched, for any other line.
bool ParseLabelLine(const QByteArray& line, const QByteArray& label, QByteArray& value);
