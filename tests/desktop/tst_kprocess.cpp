// SPDX-License-Identifier: GPL-2.0-or-later
#include "laptopfixture.h"

#include <kprocess.h>

#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// The state letter of /proc/PID/stat ('Z' for a zombie); 0 when there is no such process.
char processState(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QByteArray text = stat.readAll();
    const int close = text.lastIndexOf(')');
    return close < 0 || close + 2 >= text.size() ? 0 : text.at(close + 2);
}

} // namespace

class TestKProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exitIsNotifiedThroughTheEventLoop();
    void shellJoinsArgumentsIntoOneCommandLine();
    void defaultShellIsBinSh();
    void programRunsWithoutShell();
    void startFailsForMissingProgram();
    void deletedWhileRunningNeitherKillsNorLeavesAZombie();
};

void TestKProcess::exitIsNotifiedThroughTheEventLoop()
{
    KProcess process;
    QSignalSpy spy(&process, &KProcess::processExited);
    process.setUseShell(true);
    process << "exit 3";
    QVERIFY(process.start(KProcess::NotifyOnExit, KProcess::NoCommunication));
    QVERIFY(process.isRunning());
    QVERIFY(process.pid() > 0);
    QCOMPARE(spy.count(), 0); // never from inside start()
    QVERIFY(spy.wait(10000));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<KProcess*>(), &process);
    QVERIFY(!process.isRunning());
    QVERIFY(process.normalExit());
    QCOMPARE(process.exitStatus(), 3);
    // A process object can be started again once it has ended.
    QVERIFY(process.start());
    QVERIFY(spy.wait(10000));
    QCOMPARE(process.exitStatus(), 3);
}

void TestKProcess::shellJoinsArgumentsIntoOneCommandLine()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out"));
    KProcess process;
    QSignalSpy spy(&process, &KProcess::processExited);
    process.setUseShell(true);
    process << "echo"
            << "a   b" << (QStringLiteral("> ") + out);
    QVERIFY(process.start());
    QVERIFY(spy.wait(10000));
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("a b\n")); // the shell split the joined line
}

void TestKProcess::defaultShellIsBinSh()
{
    // The laptop's /bin/sh records each stand-in's -c text; $0 names the shell
    // ("sh", not "bash" or another one).
    laptop::clearCalls();
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("shell"));
    KProcess process;
    QSignalSpy spy(&process, &KProcess::processExited);
    process.setUseShell(true, nullptr);
    process << "/opt/nexalt/pm/pm.sh start &>/dev/null;" << QStringLiteral("echo -n $0 >") + out;
    QVERIFY(process.start(KProcess::NotifyOnExit, KProcess::NoCommunication));
    QVERIFY(spy.wait(10000));
    QCOMPARE(QFileInfo(QString::fromLocal8Bit(laptop::readFile(out))).fileName(),
             QStringLiteral("sh"));
    const QList<laptop::Call> calls = laptop::callsOf(QStringLiteral("/opt/nexalt/pm/pm.sh"));
    QCOMPARE(calls.size(), 1);
    QVERIFY(calls.at(0).shellCommand.startsWith(
        QStringLiteral("/opt/nexalt/pm/pm.sh start &>/dev/null; echo")));
}

void TestKProcess::programRunsWithoutShell()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("touched; rm -rf x"));
    KProcess process;
    QSignalSpy spy(&process, &KProcess::processExited);
    process << "/usr/bin/touch" << out; // one argument, not shell syntax
    QVERIFY(process.start());
    QVERIFY(spy.wait(10000));
    QCOMPARE(process.exitStatus(), 0);
    QVERIFY(QFile::exists(out));
}

void TestKProcess::startFailsForMissingProgram()
{
    KProcess process;
    QSignalSpy spy(&process, &KProcess::processExited);
    process << "/nonexistent/program";
    QVERIFY(!process.start());
    QVERIFY(!process.isRunning());
    QTest::qWait(100);
    QCOMPARE(spy.count(), 0);
    KProcess empty;
    QVERIFY(!empty.start());
}

void TestKProcess::deletedWhileRunningNeitherKillsNorLeavesAZombie()
{
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("finished"));
    auto* process = new KProcess;
    process->setUseShell(true);
    *process << QStringLiteral("sleep 1; touch ") + marker;
    QVERIFY(process->start(KProcess::NotifyOnExit, KProcess::NoCommunication));
    const pid_t pid = process->pid();
    QVERIFY(pid > 0);

    QElapsedTimer timer;
    timer.start();
    delete process;
    QVERIFY2(timer.elapsed() < 500, "deleting must not wait for the child");
    const char state = processState(pid);
    QVERIFY2(state != 0 && state != 'Z', "the child must still run");

    // The child completes its work and is then reaped: no zombie stays behind.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(processState(pid), char(0), 10000);
}

QTEST_GUILESS_MAIN(TestKProcess)
#include "tst_kprocess.moc"
