// SPDX-License-Identifier: GPL-2.0-or-later
// What the applet tells the user when a chosen scheme does not take effect:
// a notice through the desktop's notification service, or a line on
// standard error when no service runs. The commands run as before, and a
// switch that worked tells nothing.
//   tst_applet_appletnotices                 the switch, with and without a service
//   tst_applet_appletnotices --unwritable    run by a user who cannot write the file
#include "laptopfixture.h"
#include "noticerecorder.h"
#include "schememenuhost.h"
#include "streamcapture.h"

#include <QApplication>
#include <QtTest>

#include <memory>

#include <unistd.h>

namespace {

const QString configPath = QStringLiteral("/etc/sysconfig/powersave/common");
const QString reload = QStringLiteral("/etc/init.d/powersave reload &>/dev/null");
const QString idletime = QStringLiteral("/opt/nexalt/pm/idletime.sh restart &>/dev/null");

const QString notApplied =
    QStringLiteral("Power scheme not applied\tThe power daemon did not accept the scheme "
                   "\"presentation\".");

QString fromApplet(const QString& summaryAndBody)
{
    return QStringLiteral("ovraapplet\tdialog-warning\t") + summaryAndBody + QStringLiteral("\t1");
}

} // namespace

class TestAppletNotices : public SchemeMenuTest
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        laptop::setBehaviour(QStringLiteral("powersave.reload"), 0);
        startOnMainsWithBothKeys();
    }

    // No notification service on the bus (these run first).
    void refusedReloadIsSaidOnStandardError()
    {
        laptop::setBehaviour(QStringLiteral("powersave.reload"), 1);
        StreamCapture err(STDERR_FILENO);
        m_host->menu.changeScheme(QStringLiteral("presentation"));
        QCOMPARE(err.finish(), QByteArray("ovraapplet: Power scheme not applied: The power daemon "
                                          "did not accept the scheme \"presentation\".\n"));
        QCOMPARE(laptop::shellCommands(), (QStringList{reload, idletime}));
    }

    void missingKeyIsSaidOnStandardError()
    {
        laptop::mains(false);
        laptop::writeFile(configPath, "AC_SCHEME=\"performance\"\n");
        StreamCapture err(STDERR_FILENO);
        m_host->menu.changeScheme(QStringLiteral("presentation"));
        QCOMPARE(
            err.finish(),
            QByteArray("ovraapplet: Power scheme not saved: The scheme \"presentation\" was not "
                       "saved: /etc/sysconfig/powersave/common has no BATTERY_SCHEME "
                       "setting.\n"));
    }

    // With the recorder as the notification service.
    void refusedReloadSendsANotice()
    {
        NoticeRecorder recorder(QStringLiteral(NOTIFYRECORDER));
        QVERIFY(recorder.ready());
        StreamCapture err(STDERR_FILENO);
        // A switch that works, and the same scheme again (the file gives it
        // already): nothing is said.
        m_host->menu.changeScheme(QStringLiteral("powersave"));
        m_host->menu.changeScheme(QStringLiteral("powersave"));
        QCOMPARE(recorder.notices(), QStringList());

        laptop::setBehaviour(QStringLiteral("powersave.reload"), 1);
        m_host->menu.changeScheme(QStringLiteral("presentation"));
        QCOMPARE(err.finish(), QByteArray());
        QCOMPARE(recorder.notices(), QStringList{fromApplet(notApplied)});
        QCOMPARE(laptop::readFile(configPath),
                 QByteArray("AC_SCHEME=\"presentation\"\nBATTERY_SCHEME=\"powersave\"\n"));
        QCOMPARE(laptop::shellCommands(),
                 (QStringList{reload, idletime, reload, idletime, reload, idletime}));
    }

    void missingKeySendsANotice()
    {
        NoticeRecorder recorder(QStringLiteral(NOTIFYRECORDER));
        QVERIFY(recorder.ready());
        laptop::mains(false);
        laptop::writeFile(configPath, "AC_SCHEME=\"performance\"\n");
        m_host->menu.changeScheme(QStringLiteral("presentation"));
        QCOMPARE(recorder.notices(),
                 QStringList{fromApplet(QStringLiteral(
                     "Power scheme not saved\tThe scheme \"presentation\" was not saved: "
                     "/etc/sysconfig/powersave/common has no BATTERY_SCHEME setting."))});
        QCOMPARE(laptop::readFile(configPath), QByteArray("AC_SCHEME=\"performance\"\n"));
        // The reload runs all the same, as it always did.
        QCOMPARE(laptop::shellCommands(), (QStringList{reload, idletime}));
    }
};

// Run by a user who may read the root-owned configuration but not write it,
// with no polkit to authorise a switch.
class TestUnwritableConfig : public QObject
{
    Q_OBJECT

    std::unique_ptr<SchemeMenuHost> m_host;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(laptop::inside());
        QVERIFY(getuid() != 0);
        QVERIFY(!QFileInfo(configPath).isWritable());
    }

    void unsavedSchemeSendsANotice()
    {
        NoticeRecorder recorder(QStringLiteral(NOTIFYRECORDER));
        QVERIFY(recorder.ready());
        const QByteArray before = laptop::readFile(configPath);
        m_host = std::make_unique<SchemeMenuHost>();
        laptop::clearCalls();
        m_host->menu.changeScheme(QStringLiteral("presentation"));
        QTRY_VERIFY(!m_host->menu.switching());
        const QStringList notices = recorder.notices();
        QCOMPARE(notices.size(), 1);
        QVERIFY2(
            notices.front().startsWith(
                fromApplet(QStringLiteral(
                               "Power scheme not saved\tThe scheme \"presentation\" was not saved: "
                               "you are not authorized to switch power schemes."))
                    .chopped(2)),
            qPrintable(notices.front()));
        QCOMPARE(laptop::readFile(configPath), before);
        QCOMPARE(laptop::shellCommands(), QStringList());
        m_host.reset();
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]) == "--unwritable") {
        TestUnwritableConfig test;
        return QTest::qExec(&test, 1, argv);
    }
    TestAppletNotices test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_appletnotices.moc"
