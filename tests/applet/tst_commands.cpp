// SPDX-License-Identifier: GPL-2.0-or-later
// The gauge's commands: the idle-time start at construction, the power-manager
// launch that never blocks, the two shell runners, the second menu with
// "&Quit", the display choice and the mouse buttons.

#include "gaugehost.h"
#include "gaugeparts.h"
#include "laptopfixture.h"
#include "streamcapture.h"

#include "applet/comm.h"
#include "applet/execshell.h"
#include "applet/graphframe.h"

#include <kpanelapplet.h>
#include <kpopupmenu.h>

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <QtTest>

#include <cstring>
#include <memory>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString pmScript = QStringLiteral("/opt/nexalt/pm/pm.sh");

} // namespace

class TestCommands : public QObject, protected GaugeHost
{
    Q_OBJECT

private:
    void makeGauge()
    {
        GaugeHost::makeGauge(150);
        m_host->resize(150, 40);
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(laptop::inside()); }
    void init() { laptop::clearCalls(); }
    void cleanup() { m_host.reset(); }

    // The idle-time script runs first and is waited for.
    void idleTimeStartAtConstruction()
    {
        laptop::setBehaviour(QStringLiteral("idletime.sh"), 0, 1);
        QElapsedTimer clock;
        clock.start();
        makeGauge();
        QVERIFY(clock.elapsed() >= 1000);
        const QList<laptop::Call> calls = laptop::calls();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].program, QStringLiteral("/opt/nexalt/pm/idletime.sh"));
        QCOMPARE(calls[0].shellCommand, QString::fromLatin1(m_strIdletimeStart));
        QCOMPARE(calls[0].args, QStringList{QStringLiteral("start")});
        laptop::setBehaviour(QStringLiteral("idletime.sh"), 0, 0);
        QCOMPARE(m_frame->frameStyle(), 54);
        QCOMPARE(m_frame->objectName(), QStringLiteral("graph_frame"));
    }

    // A second launch while the first runs only complains; the panel's event
    // loop keeps running meanwhile; after the end a new launch starts again.
    void launchPowerManager()
    {
        makeGauge();
        laptop::clearCalls();
        laptop::setBehaviour(QStringLiteral("pm.sh"), 0, 3);

        QElapsedTimer clock;
        clock.start();
        StreamCapture err(STDERR_FILENO);
        m_frame->start_PM();
        QVERIFY(gaugeparts::launchRunning(m_frame));
        m_frame->start_PM();
        const QByteArray complaint = err.finish();
        QVERIFY(clock.elapsed() < 2000); // the script takes 3 s
        QCOMPARE(complaint, QByteArray("PM is still running.\n"));

        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start(100);
        QVERIFY(laptop::waitFor([this] { return !gaugeparts::launchRunning(m_frame); }, 10000));
        QVERIFY2(ticks >= 10, QByteArray::number(ticks)); // events ran while the script slept

        QList<laptop::Call> calls = laptop::callsOf(pmScript);
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].shellCommand, QString::fromLatin1(m_strPMPath));
        QCOMPARE(calls[0].args, QStringList{QStringLiteral("start")});

        laptop::setBehaviour(QStringLiteral("pm.sh"), 0, 0);
        m_frame->start_PM();
        QVERIFY(laptop::waitFor([this] { return !gaugeparts::launchRunning(m_frame); }, 10000));
        QCOMPARE(laptop::callsOf(pmScript).size(), 2);
        QCOMPARE(laptop::zombieChildren(), 0);
    }

    // Destroying the gauge during a launch neither kills nor waits for it,
    // and the ended launch does not linger as a zombie.
    void launchOutlivesGauge()
    {
        makeGauge();
        laptop::clearCalls();
        laptop::setBehaviour(QStringLiteral("pm.sh"), 0, 3);
        m_frame->start_PM();
        QElapsedTimer clock;
        clock.start();
        m_host.reset();
        QVERIFY(clock.elapsed() < 2000); // the script takes 3 s
        QVERIFY(laptop::waitFor([] { return laptop::callsOf(pmScript).size() == 1; }, 10000));
        QVERIFY(laptop::waitFor([] { return laptop::zombieChildren() == 0; }, 5000));
        laptop::setBehaviour(QStringLiteral("pm.sh"), 0, 0);
    }

    void execShellWaits()
    {
        QElapsedTimer clock;
        clock.start();
        QVERIFY(execShell("sleep 1; echo done >/tmp/waited"));
        QVERIFY(clock.elapsed() >= 1000);
        QCOMPARE(laptop::readFile(QStringLiteral("/tmp/waited")), QByteArray("done\n"));
        // The status of the command is not the runner's result.
        QVERIFY(execShell("exit 3"));
        QCOMPARE(laptop::zombieChildren(), 0);
    }

    void execShellCaptures()
    {
        char buf[100];
        std::memset(buf, 'Z', sizeof buf);
        QVERIFY(execShellOutput("printf 'x%.0s' $(seq 200)", buf, sizeof buf));
        QCOMPARE(QByteArray(buf, 98), QByteArray(98, 'x'));
        QCOMPARE(buf[98], '\0');
        QCOMPARE(buf[99], '\0');

        std::memset(buf, 'Z', sizeof buf);
        QVERIFY(execShellOutput("printf abc", buf, sizeof buf));
        QCOMPARE(QByteArray(buf), QByteArray("abc"));
        QCOMPARE(QByteArray(buf + 3, 97), QByteArray(97, '\0'));

        // Too small to hold the two closing zero bytes: refused, untouched.
        std::memset(buf, 'Z', sizeof buf);
        QVERIFY(!execShellOutput("printf abc", buf, 1));
        QCOMPARE(buf[0], 'Z');
        QCOMPARE(laptop::zombieChildren(), 0);
    }

    // Without a shell the child ends at once and never runs the caller's code.
    void execShellWithoutShell()
    {
        QVERIFY(QProcess::execute(QStringLiteral("mount"),
                                  {QStringLiteral("--bind"), QStringLiteral("/dev/null"),
                                   QStringLiteral("/bin/sh")}) == 0);
        const pid_t self = getpid();
        QElapsedTimer clock;
        clock.start();
        const bool result = execShell("echo never");
        if (getpid() != self) {
            // A child that came back here: record it and vanish.
            laptop::writeFile(QStringLiteral("/tmp/child-returned"), "yes");
            _exit(0);
        }
        const qint64 elapsed = clock.elapsed();
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("/bin/sh")});
        QVERIFY(result);
        QVERIFY(elapsed < 3000);
        QVERIFY(!QFile::exists(QStringLiteral("/tmp/child-returned")));
    }

    // The published runners on the gauge's class are the applet's own.
    void publishedInterface()
    {
        laptop::clearCalls();
        QVERIFY(GraphFrame::execShell("/opt/nexalt/pm/idletime.sh start; exit 3"));
        QCOMPARE(laptop::calls().size(), 1);
        char buf[8];
        std::memset(buf, 'Z', sizeof buf);
        QVERIFY(GraphFrame::execShell("printf abcdefghij", buf, sizeof buf));
        QCOMPARE(QByteArray(buf, sizeof buf), QByteArray("abcdef\0\0", 8));
        QVERIFY(!GraphFrame::execShell("printf abc", buf, 1));
        QCOMPARE(laptop::zombieChildren(), 0);
    }

    void quitRunsStopScript()
    {
        makeGauge();
        laptop::clearCalls();
        KPopupMenu* menu = gaugeparts::secondMenu(m_frame);
        QVERIFY(menu);
        QCOMPARE(menu->objectName(), QStringLiteral("main_menu"));
        QCOMPARE(menu->count(), 1);
        const int id = menu->idAt(0);
        QCOMPARE(menu->text(id), QStringLiteral("&Quit"));
        QCOMPARE(menu->actionForId(id)->shortcut(), QKeySequence(QStringLiteral("Alt+Q")));

        menu->actionForId(id)->trigger();
        const QList<laptop::Call> calls = laptop::calls();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].program, QStringLiteral("/opt/nexalt/pm/ovra.sh"));
        QCOMPARE(calls[0].shellCommand, QString::fromLatin1(m_strQuitOvra));
        QVERIFY(m_host->findChild<GraphFrame*>() == m_frame);

        m_frame->make_rmenu();
        QCOMPARE(gaugeparts::secondMenu(m_frame), menu);
        QCOMPARE(menu->count(), 1);
    }

    // Only the left button opens the menu; the others change nothing.
    void mouseButtons()
    {
        makeGauge();
        m_host->show();
        laptop::clearCalls();
        KPopupMenu* menu = m_frame->leftMenu();
        QVERIFY(menu);
        QCOMPARE(menu->objectName(), QStringLiteral("main_menu"));
        QTest::mousePress(m_frame, Qt::RightButton);
        QTest::mousePress(m_frame, Qt::MiddleButton);
        QVERIFY(!menu->isVisible());
        QVERIFY(!gaugeparts::secondMenu(m_frame)->isVisible());
        QVERIFY(gaugeparts::showsPercentage(m_frame));
        QVERIFY(laptop::calls().isEmpty());

        QTest::mousePress(m_frame, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
        QVERIFY(menu->isVisible());
        menu->hide();
    }

    void displayChoice()
    {
        makeGauge();
        QMetaObject::invokeMethod(m_frame, "slot_show_time");
        QVERIFY(!gaugeparts::showsPercentage(m_frame));
        QMetaObject::invokeMethod(m_frame, "slot_show_time");
        QVERIFY(!gaugeparts::showsPercentage(m_frame));
        QMetaObject::invokeMethod(m_frame, "slot_show_percentage");
        QVERIFY(gaugeparts::showsPercentage(m_frame));
    }
};

// A failed fork waits for nothing: not for another child of the panel.
class TestForkFailure : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void failedForkWaitsForNothing()
    {
        QVERIFY(getuid() != 0); // root would not be bound by the process limit
        const pid_t sleeper = fork();
        if (sleeper == 0) {
            execl("/bin/sleep", "sleep", "5", static_cast<char*>(nullptr));
            _exit(127);
        }
        QVERIFY(sleeper > 0);
        rlimit limit{};
        getrlimit(RLIMIT_NPROC, &limit);
        const rlimit none{0, limit.rlim_max};
        QCOMPARE(setrlimit(RLIMIT_NPROC, &none), 0);

        QElapsedTimer clock;
        clock.start();
        const bool result = execShell("true");
        const qint64 elapsed = clock.elapsed();
        setrlimit(RLIMIT_NPROC, &limit);

        QVERIFY(!result);
        QVERIFY2(elapsed < 2500, QByteArray::number(elapsed)); // the other child takes 5 s
        int status = 0;
        QCOMPARE(waitpid(sleeper, &status, WNOHANG), 0); // still ours to wait for
        kill(sleeper, SIGKILL);
        QCOMPARE(waitpid(sleeper, &status, 0), sleeper);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool forkCase = argc > 1 && std::strcmp(argv[1], "--fork-failure") == 0;
    if (forkCase) {
        TestForkFailure test;
        return QTest::qExec(&test, 1, argv);
    }
    TestCommands test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_commands.moc"
