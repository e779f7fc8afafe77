#include "schemeconfig.h"

namespace {

// One line of a text: its content and where its line end begins (the
// carriage return of a "\r\n" line end included).
struct Line
{
    int begin;
    int contentEnd;
    int next; // start of the following line
};

// Calls f for every line of text; a last line without a line feed counts too.
template <typename F> void forEachLine(const QByteArray& text, F f)
{
    int begin = 0;
    while (begin < text.size()) {
        int newline = text.indexOf('\n', begin);
        const int next = newline < 0 ? text.size() : newline + 1;
        int contentEnd = newline < 0 ? text.size() : newline;
        if (newline >= 0 && contentEnd > begin && text.at(contentEnd - 1) == '\r')
            --contentEnd;
        f(Line{begin, contentEnd, next});
        begin = next;
    }
}

QByteArray contentOf(const QByteArray& text, const Line& line)
{
    return text.mid(line.begin, line.contentEnd - line.begin);
}

} // namespace

bool isCommentLine(const QByteArray& line)
{
    for (const char c : line) {
        if (c == '#')
            return true;
        if (c != ' ' && c != '\t')
            return false;
    }
    return false;
}

QByteArray readSchemeValue(const QByteArray& text, const QByteArray& key)
{
    QByteArray value;
    bool found = false;
    forEachLine(text, [&](const Line& line) {
        if (found)
            return;
        const QByteArray content = contentOf(text, line);
        if (!content.contains(key) || isCommentLine(content))
            return;
        found = true;
        value = content.left(content.size() - 1).mid(key.size() + 2);
    });
    return value;
}

QByteArray replaceSchemeLines(const QByteArray& text, const QByteArray& key,
                              const QByteArray& keyLine)
{
    QByteArray result;
    result.reserve(text.size() + keyLine.size());
    forEachLine(text, [&](const Line& line) {
        const QByteArray content = contentOf(text, line);
        if (content.contains(key) && !isCommentLine(content)) {
            result += keyLine;
            result += text.mid(line.contentEnd, line.next - line.contentEnd);
        } else {
            result += text.mid(line.begin, line.next - line.begin);
        }
    });
    return result;
}
