#pragma once
// The power daemon's configuration as the applet reads and rewrites it: the
// line of one scheme key, found by the key anywhere in the line. Comment lines
// (first non-blank character '#') are never taken for the key's line. Works on
// the file's bytes, so that every line the applet does not replace keeps them.

#include <QByteArray>

// True for a line whose first non-blank character is '#'.
bool isCommentLine(const QByteArray& line);

// The value in the first line that holds key: the line less its last
// character and less the key's length + 2 at the front ("KEY=\"" ... "\"").
// Empty when no line holds the key. A carriage return before the line feed
// does not belong to the line.
QByteArray readSchemeValue(const QByteArray& text, const QByteArray& key);

// The text with every line that holds key replaced by keyLine; the line ends
// and every other byte stay as they were.
QByteArray replaceSchemeLines(const QByteArray& text, const QByteArray& key,
                              const QByteArray& keyLine);
