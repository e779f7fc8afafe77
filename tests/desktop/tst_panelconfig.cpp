// SPDX-License-Identifier: GPL-2.0-or-later
// panelhost's configuration file: what the panel writes reads back, a file
// it did not write gives bounded values, and only a plain file name of the
// configuration folder is kept as an applet's configuration file.

#include "desktop/panelhost/panelconfig.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPanelConfig : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writtenConfigurationReadsBack()
    {
        const QString path = m_dir.filePath(QStringLiteral("panelhostrc"));
        PanelConfig config;
        config.height = 30;
        config.applets << PanelAppletEntry{QStringLiteral("ovraapplet.desktop"),
                                           QStringLiteral("ovraapplet_k3j9x0qa_rc")}
                       << PanelAppletEntry{QStringLiteral("a, b.desktop"), QString()};
        writePanelConfig(path, config);
        QVERIFY(readPanelConfig(path) == config);
    }

    void missingFileGivesTheDefaults()
    {
        const PanelConfig config = readPanelConfig(m_dir.filePath(QStringLiteral("none")));
        QCOMPARE(config.height, PanelHeight::standard);
        QVERIFY(config.applets.isEmpty());
    }

    // As a hand-written file might say it: a height out of bounds, fewer
    // configuration files than applets.
    void handWrittenFileIsBounded()
    {
        const QString path = m_dir.filePath(QStringLiteral("handrc"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[%General]\nApplets=a.desktop, b.desktop\nConfigFiles=a_rc\nHeight=999\n");
        file.close();
        const PanelConfig config = readPanelConfig(path);
        QCOMPARE(config.height, PanelHeight::maximum);
        QCOMPARE(config.applets.size(), 2);
        QCOMPARE(config.applets.at(0).configFile, QStringLiteral("a_rc"));
        QCOMPARE(config.applets.at(1).entry, QStringLiteral("b.desktop"));
        QVERIFY(config.applets.at(1).configFile.isEmpty());
    }

    void keepsOnlyPlainFileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("usable");
        QTest::newRow("plain") << QStringLiteral("ovraapplet_k3j9x0qa_rc") << true;
        QTest::newRow("taken") << QStringLiteral("taken_rc") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("dot") << QStringLiteral(".") << false;
        QTest::newRow("dot dot") << QStringLiteral("..") << false;
        QTest::newRow("parent") << QStringLiteral("../escape_rc") << false;
        QTest::newRow("absolute") << QStringLiteral("/etc/passwd") << false;
        QTest::newRow("Qt resource") << QStringLiteral(":escape_rc") << false;
    }
    void keepsOnlyPlainFileNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, usable);
        QCOMPARE(isUsableConfigFile(name, {QStringLiteral("taken_rc")}), usable);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestPanelConfig)
#include "tst_panelconfig.moc"
