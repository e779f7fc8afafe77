// SPDX-License-Identifier: GPL-2.0-or-later
// KConfig: entries found by group and key, written back with every other
// line kept byte for byte, the file replaced in one step; a folder that is
// missing is made, and one that cannot be made loses nothing.

#include <kconfig.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

const QByteArray sample = "# written by hand\n"
                          "Version=3\n"
                          "\n"
                          "[General]\n"
                          "ShowPercentage=false\n"
                          "Odd line without equals\n"
                          "Name= two  words \n"
                          "[Other]\r\n"
                          "ShowPercentage=true\r\n"
                          "Unknown[de]=bleibt\n";

} // namespace

class TestKConfig : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_home.isValid());
        qputenv("XDG_CONFIG_HOME", m_home.path().toUtf8());
        QDir(m_home.path()).removeRecursively();
        QDir().mkpath(m_home.path());
    }

    void readsGroupsAndKeys()
    {
        writeAll(m_home.filePath(QStringLiteral("samplerc")), sample);
        KConfig config(QStringLiteral("samplerc"));
        QCOMPARE(config.fileName(), m_home.filePath(QStringLiteral("samplerc")));
        QCOMPARE(config.readEntry(QStringLiteral("Version")), QStringLiteral("3"));
        config.setGroup(QStringLiteral("General"));
        QVERIFY(!config.readBoolEntry(QStringLiteral("ShowPercentage"), true));
        QCOMPARE(config.readEntry(QStringLiteral("Name")), QStringLiteral("two  words"));
        QVERIFY(!config.hasKey(QStringLiteral("Version")));
        QCOMPARE(config.readEntry(QStringLiteral("Missing"), QStringLiteral("x")),
                 QStringLiteral("x"));
        config.setGroup(QStringLiteral("Other"));
        QVERIFY(config.readBoolEntry(QStringLiteral("ShowPercentage"), false));
        config.setGroup(QStringLiteral("Nowhere"));
        QVERIFY(config.readBoolEntry(QStringLiteral("ShowPercentage"), true));
    }

    void readsBooleansAsKde3Did_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("read"); // with the default true; -1 for the default
        for (const char* yes : {"true", "TRUE", "on", "yes", "1"}) {
            QTest::newRow(yes) << QByteArray(yes) << 1;
        }
        for (const char* no : {"false", "Off", "no", "0"}) {
            QTest::newRow(no) << QByteArray(no) << 0;
        }
        for (const char* neither : {"", "maybe", "2"}) {
            QTest::newRow(neither[0] ? neither : "empty") << QByteArray(neither) << -1;
        }
    }
    void readsBooleansAsKde3Did()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, read);
        writeAll(m_home.filePath(QStringLiteral("boolrc")), "[G]\nKey=" + value + '\n');
        KConfig config(QStringLiteral("boolrc"));
        config.setGroup(QStringLiteral("G"));
        QCOMPARE(config.readBoolEntry(QStringLiteral("Key"), true), read != 0);
        QCOMPARE(config.readBoolEntry(QStringLiteral("Key"), false), read == 1);
    }

    // A changed entry replaces its own line; new ones go to their group or a
    // new group at the end; everything else keeps its bytes.
    void writesOnlyWhatChanged()
    {
        const QString path = m_home.filePath(QStringLiteral("samplerc"));
        writeAll(path, sample);
        {
            KConfig config(QStringLiteral("samplerc"));
            config.setGroup(QStringLiteral("General"));
            config.writeEntry(QStringLiteral("ShowPercentage"), true);
            config.writeEntry(QStringLiteral("Added"), QStringLiteral(" a\tb\\c\n"));
            config.setGroup(QStringLiteral("New"));
            config.writeEntry(QStringLiteral("Key"), "value");
            QVERIFY(config.isDirty());
            QVERIFY(config.sync());
            QVERIFY(!config.isDirty());
        }
        QCOMPARE(readAll(path), QByteArray("# written by hand\n"
                                           "Version=3\n"
                                           "\n"
                                           "[General]\n"
                                           "ShowPercentage=true\n"
                                           "Odd line without equals\n"
                                           "Name= two  words \n"
                                           "Added=\\sa\\tb\\\\c\\n\n"
                                           "[Other]\r\n"
                                           "ShowPercentage=true\r\n"
                                           "Unknown[de]=bleibt\n"
                                           "\n"
                                           "[New]\n"
                                           "Key=value\n"));
        KConfig again(QStringLiteral("samplerc"));
        again.setGroup(QStringLiteral("General"));
        QCOMPARE(again.readEntry(QStringLiteral("Added")), QStringLiteral(" a\tb\\c\n"));
        // The folder holds the file alone: it was replaced, not patched in place.
        QCOMPARE(QDir(m_home.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("samplerc")});
    }

    // Whatever a value holds reads back as written, also the bytes that
    // reading trims at either end of a value.
    void everyValueReadsBack_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("blanks at the ends") << QStringLiteral("  two  words  ");
        QTest::newRow("tab, line feed, carriage return") << QStringLiteral("\ta\nb\r");
        QTest::newRow("vertical tab first") << QStringLiteral("\va");
        QTest::newRow("form feed last") << QStringLiteral("a\f");
        QTest::newRow("backslashes") << QStringLiteral("C:\\x41\\s\\");
    }
    void everyValueReadsBack()
    {
        QFETCH(QString, value);
        {
            KConfig config(QStringLiteral("valuerc"));
            config.setGroup(QStringLiteral("General"));
            config.writeEntry(QStringLiteral("Value"), value);
            QCOMPARE(config.readEntry(QStringLiteral("Value")), value);
        }
        KConfig again(QStringLiteral("valuerc"));
        again.setGroup(QStringLiteral("General"));
        QCOMPARE(again.readEntry(QStringLiteral("Value")), value);
    }

    // Hex escapes read as their byte; a backslash and x without two hex
    // digits stay as they are.
    void readsHexEscapes()
    {
        writeAll(m_home.filePath(QStringLiteral("hexrc")), "[G]\nA=\\x41\\x0b!\nB=\\xg1\\x4\n");
        KConfig config(QStringLiteral("hexrc"));
        config.setGroup(QStringLiteral("G"));
        QCOMPARE(config.readEntry(QStringLiteral("A")), QStringLiteral("A\v!"));
        QCOMPARE(config.readEntry(QStringLiteral("B")), QStringLiteral("\\xg1\\x4"));
    }

    // What another program wrote since the file was read is kept.
    void keepsWhatOthersWrote()
    {
        const QString path = m_home.filePath(QStringLiteral("sharedrc"));
        writeAll(path, "[General]\nA=1\n");
        KConfig config(QStringLiteral("sharedrc"));
        config.setGroup(QStringLiteral("General"));
        writeAll(path, "[General]\nA=1\nB=2\n");
        config.writeEntry(QStringLiteral("C"), QStringLiteral("3"));
        QVERIFY(config.sync());
        QCOMPARE(readAll(path), QByteArray("[General]\nA=1\nB=2\nC=3\n"));
    }

    void writingTheSameValueWritesNothing()
    {
        const QString path = m_home.filePath(QStringLiteral("samerc"));
        writeAll(path, "[General]\nShowPercentage=false\n");
        KConfig config(QStringLiteral("samerc"));
        config.setGroup(QStringLiteral("General"));
        config.writeEntry(QStringLiteral("ShowPercentage"), false);
        QVERIFY(!config.isDirty());
    }

    void missingFolderIsMade()
    {
        QDir(m_home.path()).removeRecursively();
        {
            KConfig config(QStringLiteral("newrc"));
            config.setGroup(QStringLiteral("General"));
            config.writeEntry(QStringLiteral("ShowPercentage"), false);
        } // written by the destructor
        QCOMPARE(readAll(m_home.filePath(QStringLiteral("newrc"))),
                 QByteArray("[General]\nShowPercentage=false\n"));
    }

    // A folder that cannot be made (its parent is a file): nothing written,
    // nothing lost, the value kept in memory.
    void unwritableFolderLosesNothing()
    {
        const QString blocker = m_home.filePath(QStringLiteral("file"));
        writeAll(blocker, "not a folder\n");
        qputenv("XDG_CONFIG_HOME", (blocker + QStringLiteral("/config")).toUtf8());
        KConfig config(QStringLiteral("lostrc"));
        config.setGroup(QStringLiteral("General"));
        config.writeEntry(QStringLiteral("ShowPercentage"), false);
        QVERIFY(!config.sync());
        QVERIFY(config.isDirty());
        QVERIFY(!config.readBoolEntry(QStringLiteral("ShowPercentage"), true));
        QCOMPARE(readAll(blocker), QByteArray("not a folder\n"));
    }

private:
    QTemporaryDir m_home;
};

QTEST_GUILESS_MAIN(TestKConfig)
#include "tst_kconfig.moc"
