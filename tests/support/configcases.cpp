// SPDX-License-Identifier: GPL-2.0-or-later
#include "configcases.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <optional>
#include <random>

namespace configcases {

namespace {

class Generator
{
public:
    explicit Generator(unsigned seed) : m_random(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    template <typename T, std::size_t N> const T& pick(const T (&items)[N])
    {
        return items[below(int(N))];
    }

    // A scheme name as it may stand in the file: plain, or with what quoting
    // must protect.
    QByteArray name()
    {
        static const char* const names[] = {"performance", "powersave", "acoustic",   "a b",
                                            "x#y",         "it's",      "semi;colon", "",
                                            "star*",       "t\tab",     "~tilde",     "ex!cl"};
        return pick(names);
    }

    // One shell word that bash reads as value.
    QByteArray word(const QByteArray& value)
    {
        const bool plain = !value.isEmpty() && value.count('#') == 0 && value.count(' ') == 0 &&
                           value.count('\t') == 0 && value.count(';') == 0 &&
                           value.count('\'') == 0 && value.count('~') == 0;
        switch (below(plain ? 4 : 3)) {
        case 0:
            return '"' + value + '"';
        case 1:
            if (!value.contains('\'')) {
                return '\'' + value + '\'';
            }
            return '"' + value + '"';
        case 2: {
            QByteArray escaped; // unquoted, every byte behind a backslash
            for (const char c : value) {
                escaped += '\\';
                escaped += c;
            }
            return escaped.isEmpty() ? QByteArray("\"\"") : escaped;
        }
        default:
            return value;
        }
    }

    KeyLine keyLine(Key key)
    {
        static const char* const prefixes[] = {"", "", "  ", "\t", "export ", " export\t"};
        // clang-format off
        static const char* const suffixes[] = {"", "", "  ", "\t", " # quiet on battery", "#x",
                                               "; OTHER_SET=1", " ;", "\t# \"quoted\""};
        // clang-format on
        KeyLine line;
        line.key = key;
        line.prefix = pick(prefixes);
        line.value = name();
        line.suffix = pick(suffixes);
        return line;
    }

    QByteArray otherLine()
    {
        static const char* const lines[] = {
            "",
            "## Path:\tSystem/Powermanagement/Powersave",
            "#AC_SCHEME=\"commented\"",
            "  # BATTERY_SCHEME=\"commented\" too",
            "OLD_AC_SCHEME=\"legacy\"",
            "OLD_BATTERY_SCHEME=legacy",
            "AC_SCHEMES=\"a b\"",
            "MY_BATTERY_SCHEME='mine'",
            "POWERSAVED_POLLING_INTERVAL=\"2\"",
            "export OTHER_KEY=value # note",
            "AC_SCHEME_X=1",
            "X=\"a\rb\"",
        };
        return pick(lines);
    }

    // Lines that look like key lines but are not commands of the file's own
    // shell: inside a multi-line quote or $( ), after a trailing backslash,
    // inside a here-document.
    QByteArray block()
    {
        static const char* const blocks[] = {
            "POWERSAVE_NOTE=\"To switch by hand, set\nAC_SCHEME=performance\nand reload.\"",
            "NOTE='quoted\nBATTERY_SCHEME=\"wrong\"\nthrough'",
            "echo set \\\nAC_SCHEME=continued",
            "cat <<EOF\nAC_SCHEME=\"heredoc\"\nBATTERY_SCHEME=here\nEOF",
            "cat <<-'END' >/dev/null\n\tBATTERY_SCHEME=\"tabbed\"\n\tEND",
            "OUT=$(echo one\nAC_SCHEME=subshell\necho two)",
            "OUT=`echo one\nBATTERY_SCHEME=backquoted`",
        };
        return pick(blocks);
    }

    Case make()
    {
        Case c;
        const int lines = below(12);
        int i = 0; // the line the next entry starts on
        for (int entry = 0; entry < lines; ++entry) {
            const int kind = below(6);
            QByteArray text;
            std::optional<KeyLine> assignment;
            if (kind < 2) {
                assignment = keyLine(kind == 0 ? Key::Ac : Key::Battery);
                (kind == 0 ? c.acLines : c.batteryLines) << i;
                const QByteArray name = kind == 0 ? "AC_SCHEME" : "BATTERY_SCHEME";
                text =
                    assignment->prefix + name + '=' + word(assignment->value) + assignment->suffix;
                if (assignment->suffix.startsWith('#')) {
                    // Glued to the word, "#" is no comment: bash reads it.
                    assignment->value += assignment->suffix;
                    assignment->suffix.clear();
                }
            } else if (kind == 5) {
                text = block();
            } else {
                text = otherLine();
            }
            const bool last = entry == lines - 1;
            // A block's last line may be a here-document's delimiter, which a
            // carriage return would not end.
            const QByteArray end = !last || below(3) != 0
                                       ? QByteArray(below(3) == 0 && kind != 5 ? "\r\n" : "\n")
                                       : QByteArray();
            c.text += text + end;
            if (assignment) {
                assignment->line = i;
                assignment->end = end;
                c.keyLines << *assignment;
            }
            i += int(text.count('\n')) + 1;
        }
        // Only names of the safe set are ever written.
        static const char* const values[] = {"presentation", "powersave", "nexalt_quiet", "a.b+c-d",
                                             ""};
        c.newValue = pick(values);
        c.key = below(2) == 0 ? Key::Ac : Key::Battery;
        return c;
    }

private:
    std::mt19937 m_random;
};

// The text's lines, each with its line end.
QList<QByteArray> rawLines(const QByteArray& text)
{
    QList<QByteArray> lines;
    int begin = 0;
    while (begin < text.size()) {
        const int feed = text.indexOf('\n', begin);
        const int next = feed < 0 ? int(text.size()) : feed + 1;
        lines << text.mid(begin, next - begin);
        begin = next;
    }
    return lines;
}

QString describe(const KeyValue& v)
{
    return v.set ? QStringLiteral("\"%1\"").arg(QString::fromLatin1(v.value))
                 : QStringLiteral("unset");
}

} // namespace

QList<Case> generate(int count, unsigned seed)
{
    Generator generator(seed);
    QList<Case> cases;
    for (int i = 0; i < count; ++i) {
        cases << generator.make();
    }
    return cases;
}

QList<Sourced> sourceAll(const QList<QByteArray>& texts)
{
    QTemporaryDir dir;
    for (int i = 0; i < texts.size(); ++i) {
        QFile file(dir.filePath(QString::number(i)));
        if (!file.open(QIODevice::WriteOnly) || file.write(texts[i]) != texts[i].size()) {
            return {};
        }
    }
    // Per text N, the file N.out: four NUL-terminated fields, set flag and
    // value of each key. Sourced in a command substitution: bash ends a
    // ( ) subshell early when a sourced file's last line is a command that
    // is not found (a lone carriage return).
    const QString script = QStringLiteral(
        "unset AC_SCHEME BATTERY_SCHEME; for ((i = 0; i < %1; ++i)); do"
        " : \"$( . \"$0/$i\" >/dev/null 2>&1;"
        " printf '%s\\0%s\\0%s\\0%s\\0' \"${AC_SCHEME+1}\" \"${AC_SCHEME-}\""
        " \"${BATTERY_SCHEME+1}\" \"${BATTERY_SCHEME-}\" >\"$0/$i.out\" )\" </dev/null; done");
    QProcess bash;
    bash.start(QStringLiteral("bash"),
               {QStringLiteral("-c"), script.arg(texts.size()), dir.path()});
    if (!bash.waitForFinished(60000)) {
        return {};
    }
    QList<Sourced> result;
    for (int i = 0; i < texts.size(); ++i) {
        QFile out(dir.filePath(QString::number(i) + QStringLiteral(".out")));
        const QList<QByteArray> fields =
            out.open(QIODevice::ReadOnly) ? out.readAll().split('\0') : QList<QByteArray>();
        if (fields.size() < 4) {
            return result; // bash gave nothing for this text
        }
        result << Sourced{{!fields[0].isEmpty(), fields[1]}, {!fields[2].isEmpty(), fields[3]}};
    }
    return result;
}

QString mismatch(const Case& c, const QByteArray& after, const Sourced& bashBefore,
                 const Sourced& bashAfter)
{
    const bool ac = c.key == Key::Ac;
    const QList<int>& setLines = ac ? c.acLines : c.batteryLines;
    const KeyValue expectedSet =
        setLines.isEmpty() ? (ac ? bashBefore.ac : bashBefore.battery) : KeyValue{true, c.newValue};
    const KeyValue& expectedOther = ac ? bashBefore.battery : bashBefore.ac;
    const KeyValue& gotSet = ac ? bashAfter.ac : bashAfter.battery;
    const KeyValue& gotOther = ac ? bashAfter.battery : bashAfter.ac;
    if (!(gotSet == expectedSet)) {
        return QStringLiteral("key set: bash reads %1, expected %2")
            .arg(describe(gotSet), describe(expectedSet));
    }
    if (!(gotOther == expectedOther)) {
        return QStringLiteral("other key: bash reads %1, expected %2")
            .arg(describe(gotOther), describe(expectedOther));
    }
    const QList<QByteArray> before = rawLines(c.text);
    const QList<QByteArray> lines = rawLines(after);
    if (before.size() != lines.size()) {
        return QStringLiteral("%1 lines became %2").arg(before.size()).arg(lines.size());
    }
    for (int i = 0; i < lines.size(); ++i) {
        if (!setLines.contains(i) && lines[i] != before[i]) {
            return QStringLiteral("line %1 changed: %2").arg(i).arg(QString::fromLatin1(lines[i]));
        }
    }
    for (const KeyLine& k : c.keyLines) {
        if (k.key != c.key) {
            continue;
        }
        const QByteArray& got = lines[k.line];
        const QByteArray rewritten = k.prefix + (ac ? "AC_SCHEME" : "BATTERY_SCHEME") + "=\"" +
                                     c.newValue + '"' + k.suffix + (k.end.isEmpty() ? "" : "\n");
        // Already the value, and no carriage return to take into it.
        const bool keep = k.value == c.newValue && k.end != "\r\n";
        if (keep ? got != before[k.line] : got != rewritten && got != before[k.line]) {
            return QStringLiteral("line %1 of the key set became: %2")
                .arg(k.line)
                .arg(QString::fromLatin1(got));
        }
    }
    return QString();
}

} // namespace configcases
