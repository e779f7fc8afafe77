// SPDX-License-Identifier: GPL-2.0-or-later
// The configuration files the hosts make for an applet: named after its
// library, plain file names of the configuration folder whatever the
// desktop entry says.

#include <appletinfo.h>

#include <QDir>
#include <QTest>

class TestAppletInfo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void configFilesAreNamedAfterTheLibrary_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QString>("stem");
        QTest::newRow("name") << QStringLiteral("libovraapplet") << QStringLiteral("ovraapplet");
        QTest::newRow("versioned")
            << QStringLiteral("libovraapplet.so.1") << QStringLiteral("ovraapplet");
        QTest::newRow("path") << QStringLiteral("../lib/libx.so") << QStringLiteral("x");
        QTest::newRow("nothing left") << QStringLiteral("lib") << QStringLiteral("applet");
        QTest::newRow("Qt resource") << QStringLiteral(":res") << QStringLiteral("applet");
    }
    void configFilesAreNamedAfterTheLibrary()
    {
        QFETCH(QString, library);
        QFETCH(QString, stem);
        AppletInfo info;
        info.library = library;
        QCOMPARE(info.configStem(), stem);
        const QString name = info.newConfigFileName();
        QVERIFY2(name.startsWith(stem + QLatin1Char('_')) && name.endsWith(QStringLiteral("_rc")),
                 qPrintable(name));
        QVERIFY(!name.contains(QLatin1Char('/')) && !QDir::isAbsolutePath(name));
    }
};

QTEST_GUILESS_MAIN(TestAppletInfo)
#include "tst_appletinfo.moc"
