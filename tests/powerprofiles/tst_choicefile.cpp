// SPDX-License-Identifier: GPL-2.0-or-later
// The user's scheme for each power source on a machine with
// power-profiles-daemon: generated files keep every byte but the key's value
// when a choice is saved, and read back as bash sources them; an
// administrator's default fills in a key the user's file lacks; hostile
// files and folders are read as no choice and never hold up the reader.
#include "powerprofiles/choicefile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

using powerprofiles::Choices;

const QByteArray Keys[] = {"AC_SCHEME", "BATTERY_SCHEME"};
const QByteArray Profiles[] = {"power-saver", "balanced", "performance"};

// A line of a generated file and the key it assigns (empty: none).
struct Line
{
    QByteArray text;
    QByteArray key;
};

Line randomLine(QRandomGenerator& random)
{
    const QByteArray key = Keys[random.bounded(2)];
    const QByteArray value = Profiles[random.bounded(3)];
    switch (random.bounded(9)) {
    case 0:
        return {"# " + key + "=\"" + value + "\" is only a comment\r", {}};
    case 1:
        return {"", {}};
    case 2:
        return {"OTHER_SCHEME=" + value, {}};
    case 3:
        return {key + "=" + value, key};
    case 4:
        return {key + "='" + value + "'   # chosen by hand", key};
    case 5:
        return {"export " + key + "=\"" + value + "\"", key};
    case 6:
        return {"  " + key + "=\"" + value + "\"", key};
    case 7:
        return {"X_" + key + "=\"" + value + "\"", {}};
    default:
        return {"echo   unrelated   \t words", {}};
    }
}

// What bash is left with for both keys after sourcing text.
QByteArray bashSourced(const QString& file)
{
    QProcess bash;
    bash.start(QStringLiteral("/bin/bash"), {QStringLiteral("-c"),
                                             QStringLiteral("source \"$1\" >/dev/null; "
                                                            "printf '%s|%s' \"$AC_SCHEME\" "
                                                            "\"$BATTERY_SCHEME\""),
                                             QStringLiteral("bash"), file});
    if (!bash.waitForFinished(10000)) {
        return "bash did not finish";
    }
    return bash.readAllStandardOutput();
}

void write(const QString& file, const QByteArray& text)
{
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(out.write(text), text.size());
}

QByteArray contents(const QString& file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<unreadable>");
}

} // namespace

class TestChoiceFile : public QObject
{
    Q_OBJECT

private slots:
    // Generated files: saving a choice rewrites only the key's values (or
    // adds one line), and both the reader and bash read it back.
    void savedChoiceKeepsEveryOtherByte()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("ovra/schemes"));
        QRandomGenerator random(31);
        for (int round = 0; round < 120; ++round) {
            QList<Line> lines;
            QByteArray text;
            for (int i = random.bounded(7); i > 0; --i) {
                lines.append(randomLine(random));
                text += lines.last().text + '\n';
            }
            if (random.bounded(4) == 0 && !lines.isEmpty() && !lines.last().text.isEmpty()) {
                text.chop(1); // no line end after the last line
            }
            const QByteArray key = Keys[random.bounded(2)];
            const QByteArray value = Profiles[random.bounded(3)];
            QDir().mkpath(dir.filePath(QStringLiteral("ovra")));
            write(file, text);
            const QByteArray before = bashSourced(file);
            QVERIFY(!powerprofiles::saveChoice(file, key.toStdString(), value.toStdString()));
            const QByteArray after = contents(file);
            const QList<QByteArray> newLines = after.split('\n');

            bool assigned = false;
            for (int i = 0; i < lines.size(); ++i) {
                if (lines[i].key == key) {
                    assigned = true;
                } else {
                    QVERIFY2(newLines.value(i) == lines[i].text,
                             qPrintable(QString::fromUtf8(text + "\n->\n" + after)));
                }
            }
            if (!assigned) {
                const QByteArray ended = text.isEmpty() || text.endsWith('\n') ? text : text + '\n';
                QCOMPARE(after, ended + key + "=\"" + value + "\"\n");
            }
            // bash now has the value for key, and the other key as before.
            const QList<QByteArray> was = before.split('|');
            const QByteArray expected =
                key == "AC_SCHEME" ? value + '|' + was.value(1) : was.value(0) + '|' + value;
            QCOMPARE(bashSourced(file), expected);
            const Choices read = powerprofiles::readChoices(file, {});
            QCOMPARE(read.mains + '|' + read.battery, expected);
        }
    }

    // The user's file first, key by key, then the administrator's folders
    // in their order.
    void systemDefaultsFillIn()
    {
        QTemporaryDir dir;
        const QString user = dir.filePath(QStringLiteral("user"));
        const QString first = dir.filePath(QStringLiteral("first"));
        const QString second = dir.filePath(QStringLiteral("second"));
        write(user, "BATTERY_SCHEME=power-saver\n");
        write(first, "AC_SCHEME=performance\nBATTERY_SCHEME=balanced\n");
        write(second, "AC_SCHEME=balanced\n");
        Choices read = powerprofiles::readChoices(user, {first, second});
        QCOMPARE(read.mains, QByteArray("performance"));
        QCOMPARE(read.battery, QByteArray("power-saver"));
        read = powerprofiles::readChoices(dir.filePath(QStringLiteral("none")), {second});
        QCOMPARE(read.mains, QByteArray("balanced"));
        QVERIFY(read.battery.isEmpty());
    }

    // Where the files are: the XDG variables, relative folders left out.
    void filesFollowXdg()
    {
        qputenv("XDG_CONFIG_HOME", "/home/u/cfg");
        qputenv("XDG_CONFIG_DIRS", "relative/xdg:/opt/xdg::/etc/xdg");
        QCOMPARE(powerprofiles::userChoiceFile(), QStringLiteral("/home/u/cfg/ovra/schemes"));
        QCOMPARE(powerprofiles::systemChoiceFiles(),
                 (QStringList{QStringLiteral("/opt/xdg/ovra/schemes"),
                              QStringLiteral("/etc/xdg/ovra/schemes")}));
        qputenv("XDG_CONFIG_HOME", "");
        qunsetenv("XDG_CONFIG_DIRS");
        QCOMPARE(powerprofiles::userChoiceFile(),
                 QDir::homePath() + QStringLiteral("/.config/ovra/schemes"));
        QCOMPARE(powerprofiles::systemChoiceFiles(),
                 QStringList{QStringLiteral("/etc/xdg/ovra/schemes")});
    }

    // A FIFO nobody writes, a folder, a huge file and binary junk where the
    // administrator's default is: no choice, at once.
    void hostileDefaults()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("fifo"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
        const QString huge = dir.filePath(QStringLiteral("huge"));
        write(huge, "AC_SCHEME=balanced\n" + QByteArray(1024 * 1024, '#'));
        const QString junk = dir.filePath(QStringLiteral("junk"));
        static const char junkText[] = "AC_SCHEME=$(reboot)\n\0\xff\xfe BATTERY_SCHEME=`id`\n";
        write(junk, QByteArray(junkText, sizeof junkText - 1));
        const Choices read = powerprofiles::readChoices(dir.filePath(QStringLiteral("missing")),
                                                        {fifo, dir.path(), huge, junk});
        QVERIFY(read.mains.isEmpty());
        QVERIFY(read.battery.isEmpty());
    }

    // The first save makes a private folder; a name that is no profile id
    // is refused and leaves the file as it was.
    void saveMakesPrivateFolderAndRefusesUnsafeNames()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("cfg/ovra/schemes"));
        QVERIFY(!powerprofiles::saveChoice(file, "AC_SCHEME", "balanced"));
        QCOMPARE(QFileInfo(QFileInfo(file).path()).permissions() & 0x0077, QFile::Permissions());
        const QByteArray saved = contents(file);
        QVERIFY(saved.endsWith("AC_SCHEME=\"balanced\"\n"));
        for (const char* unsafe : {"a b", "$(id)", "x\"y", "", "../x"}) {
            const auto failure = powerprofiles::saveChoice(file, "AC_SCHEME", unsafe);
            QVERIFY(failure);
            QCOMPARE(failure->code, EINVAL);
        }
        QCOMPARE(contents(file), saved);
    }
};

QTEST_GUILESS_MAIN(TestChoiceFile)
#include "tst_choicefile.moc"
