// SPDX-License-Identifier: GPL-2.0-or-later
#include "kconfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QString defaultGroup = QStringLiteral("<default>");

QString groupName(const QString& group)
{
    return group.isEmpty() ? defaultGroup : group;
}

// What one line of the file is; any other line is kept and never looked at.
struct ParsedLine
{
    enum Kind
    {
        Other,
        Group,
        Entry
    } kind = Other;
    QString name;     // the group's or the key's
    QByteArray value; // an entry's value, escaped as the file holds it
};

ParsedLine parse(const QByteArray& line)
{
    ParsedLine parsed;
    const QByteArray text = line.trimmed();
    if (text.isEmpty() || text.startsWith('#')) {
        return parsed;
    }
    if (text.startsWith('[')) {
        const int end = text.lastIndexOf(']');
        if (end > 0) {
            parsed.kind = ParsedLine::Group;
            parsed.name = QString::fromUtf8(text.mid(1, end - 1));
        }
        return parsed;
    }
    const int eq = text.indexOf('=');
    if (eq <= 0) {
        return parsed;
    }
    parsed.kind = ParsedLine::Entry;
    parsed.name = QString::fromUtf8(text.left(eq).trimmed());
    parsed.value = text.mid(eq + 1).trimmed();
    return parsed;
}

// Line breaks, tabs and backslashes are written as escapes, and blanks at
// either end as "\s", since reading trims the value. So are vertical tabs
// and form feeds, which reading trims too, as "\x0b" and "\x0c".
QByteArray escape(const QString& value)
{
    const QByteArray bytes = value.toUtf8();
    QByteArray out;
    out.reserve(bytes.size());
    for (int i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\v' || c == '\f') {
            out += "\\x" + QByteArray(1, c).toHex();
        } else if (c == ' ' && (i == 0 || i == bytes.size() - 1)) {
            out += "\\s";
        } else {
            out += c;
        }
    }
    return out;
}

// The value of a hex digit; -1 for any other byte.
int hexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The byte two hex digits at value[at] spell; -1 when they do not.
int hexByte(const QByteArray& value, int at)
{
    if (at + 1 >= value.size()) {
        return -1;
    }
    const int high = hexDigit(value.at(at));
    const int low = hexDigit(value.at(at + 1));
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

QString unescape(const QByteArray& value)
{
    QByteArray out;
    out.reserve(value.size());
    for (int i = 0; i < value.size(); ++i) {
        const char c = value.at(i);
        if (c != '\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const char next = value.at(++i);
        switch (next) {
        case 's':
            out += ' ';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        case 'x':
            if (const int byte = hexByte(value, i + 1); byte >= 0) {
                out += char(byte);
                i += 2;
                break;
            }
            out += "\\x";
            break;
        default:
            out += '\\';
            out += next;
        }
    }
    return QString::fromUtf8(out);
}

// Calls found(index, parsed) for every entry line of the group.
template <typename Found>
void forEachEntryOf(const QList<QByteArray>& lines, const QString& group, Found found)
{
    QString current = defaultGroup;
    for (int i = 0; i < lines.size(); ++i) {
        const ParsedLine parsed = parse(lines.at(i));
        if (parsed.kind == ParsedLine::Group) {
            current = parsed.name;
        } else if (parsed.kind == ParsedLine::Entry && current == group) {
            found(i, parsed);
        }
    }
}

// The value of the key's last line in the group, as the file holds it.
bool findValue(const QList<QByteArray>& lines, const QString& group, const QString& key,
               QByteArray* value)
{
    bool found = false;
    forEachEntryOf(lines, group, [&](int, const ParsedLine& parsed) {
        if (parsed.name == key) {
            *value = parsed.value;
            found = true;
        }
    });
    return found;
}

// Where a new entry of the group goes: behind the group's last entry, or
// behind its header; -1 when the file has no such group.
int insertionPoint(const QList<QByteArray>& lines, const QString& group)
{
    int point = -1;
    QString current = defaultGroup;
    if (group == defaultGroup) {
        point = 0;
    }
    for (int i = 0; i < lines.size(); ++i) {
        const ParsedLine parsed = parse(lines.at(i));
        if (parsed.kind == ParsedLine::Group) {
            current = parsed.name;
            if (current == group) {
                point = i + 1;
            }
        } else if (parsed.kind == ParsedLine::Entry && current == group) {
            point = i + 1;
        }
    }
    return point;
}

// Sets the key's line in the group, replacing its last line or adding one.
void setLine(QList<QByteArray>& lines, const QString& group, const QString& key,
             const QByteArray& value)
{
    const QByteArray line = key.toUtf8() + '=' + value;
    int last = -1;
    forEachEntryOf(lines, group, [&](int index, const ParsedLine& parsed) {
        if (parsed.name == key) {
            last = index;
        }
    });
    if (last >= 0) {
        lines[last] = line;
        return;
    }
    const int point = insertionPoint(lines, group);
    if (point >= 0) {
        lines.insert(point, line);
        return;
    }
    if (!lines.isEmpty() && !lines.constLast().trimmed().isEmpty()) {
        lines.append(QByteArray());
    }
    lines.append('[' + group.toUtf8() + ']');
    lines.append(line);
}

} // namespace

KConfig::KConfig(const QString& fileName)
    : m_path(QDir::isAbsolutePath(fileName)
                 ? fileName
                 : QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                       .filePath(fileName)),
      m_group(defaultGroup)
{
    load();
}

KConfig::~KConfig()
{
    sync();
}

void KConfig::load()
{
    m_lines.clear();
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    const QByteArray text = file.readAll();
    m_lines = text.split('\n');
    // The line end of the last line is no line of its own.
    if (text.endsWith('\n') || text.isEmpty()) {
        m_lines.removeLast();
    }
}

void KConfig::setGroup(const QString& group)
{
    m_group = groupName(group);
}

bool KConfig::hasGroup(const QString& group) const
{
    for (const QByteArray& line : m_lines) {
        const ParsedLine parsed = parse(line);
        if (parsed.kind == ParsedLine::Group && parsed.name == group) {
            return true;
        }
    }
    return false;
}

bool KConfig::hasKey(const QString& key) const
{
    QByteArray value;
    return findValue(m_lines, m_group, key, &value);
}

QString KConfig::readEntry(const QString& key, const QString& aDefault) const
{
    QByteArray value;
    if (!findValue(m_lines, m_group, key, &value)) {
        return aDefault;
    }
    return unescape(value);
}

bool KConfig::readBoolEntry(const QString& key, bool bDefault) const
{
    const QString value = readEntry(key).toLower();
    if (value == QLatin1String("true") || value == QLatin1String("on") ||
        value == QLatin1String("yes") || value == QLatin1String("1")) {
        return true;
    }
    if (value == QLatin1String("false") || value == QLatin1String("off") ||
        value == QLatin1String("no") || value == QLatin1String("0")) {
        return false;
    }
    return bDefault;
}

void KConfig::writeEntry(const QString& key, const QString& value)
{
    const QByteArray escaped = escape(value);
    QByteArray current;
    if (findValue(m_lines, m_group, key, &current) && current == escaped) {
        return;
    }
    setLine(m_lines, m_group, key, escaped);
    for (int i = 0; i < m_pending.size(); ++i) {
        if (m_pending.at(i).group == m_group && m_pending.at(i).key == key) {
            m_pending.removeAt(i--);
        }
    }
    m_pending.append(Entry{m_group, key, escaped});
}

void KConfig::writeEntry(const QString& key, const char* value)
{
    writeEntry(key, QString::fromUtf8(value));
}

void KConfig::writeEntry(const QString& key, bool value)
{
    writeEntry(key, value ? QStringLiteral("true") : QStringLiteral("false"));
}

bool KConfig::sync()
{
    if (m_pending.isEmpty()) {
        return true;
    }

    // What others wrote since the file was read is kept; our entries win.
    const QList<QByteArray> inMemory = m_lines;
    load();
    for (const Entry& entry : m_pending) {
        setLine(m_lines, entry.group, entry.key, entry.value);
    }

    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    bool written = file.open(QIODevice::WriteOnly);
    for (const QByteArray& line : m_lines) {
        if (written) {
            written = file.write(line + '\n') == line.size() + 1;
        }
    }
    if (written && file.commit()) {
        m_pending.clear();
        return true;
    }
    file.cancelWriting();
    m_lines = inMemory;
    return false;
}
