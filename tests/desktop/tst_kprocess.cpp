#include <kprocess.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// The state letter of /proc/PID/stat ('Z' for a zombie); 0 when there is no such process.
char processState(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
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
    KProcess process;
    QSignalSpy spy(&process, &KProcess::processExited);
    process.setUseShell(true, nullptr);
    process << "sleep 0.3;"
            << "true";
    QVERIFY(process.start());
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(process.pid()));
    QVERIFY(cmdline.open(QIODevice::ReadOnly));
    // Here /bin/sh may be a script: its interpreter then comes first.
    const QByteArray args = cmdline.readAll();
    QVERIFY2(args.endsWith(QByteArray("/bin/sh\0-c\0sleep 0.3; true\0", 27)), args.constData());
    QVERIFY(spy.wait(10000));
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
