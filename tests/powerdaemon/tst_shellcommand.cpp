// SPDX-License-Identifier: GPL-2.0-or-later
// The one command runner: the start of a command's standard output kept
// within the bound, the pipe closed once the limit is reached, and the
// caller's own standard output left alone when nothing is kept; a command
// past its bound ended with what it started; a command that starts as init
// would start it, whatever the caller's limits, nice value and signals.
#include "laptopfixture.h"
#include "streamcapture.h"

#include "powerdaemon/shellcommand.h"

#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <array>
#include <csignal>
#include <string>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

using powerdaemon::AtBound;
using powerdaemon::CommandEnd;
using powerdaemon::OutputCapture;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(CommandEnd)

namespace {

OutputCapture capture(std::size_t limit)
{
    OutputCapture output;
    output.limit = limit;
    return output;
}

QByteArray bytes(const std::string& text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

} // namespace

class TestShellCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(laptop::inside()); }

    // What is kept, and how the command ended, for commands that end.
    void outputKept_data();
    void outputKept();
    // Writing past the limit ends the command's writes: an endless writer
    // ends long before the bound.
    void limitClosesThePipe();
    // A command that started something keeping its standard output is read
    // until that ends too, as popen() reads.
    void readUntilEveryWriterCloses();
    // The bound covers the reading: a command that does not end is left
    // running with what it wrote so far, and reaped later.
    void boundCoversTheReading();
    // Without a capture the command writes where the caller writes.
    void withoutCaptureOutputIsShared();
    // Standard input and output closed in the caller: the pipe takes their
    // numbers, and the command still writes into it.
    void closedStandardDescriptors();
    void ranToItsEnd();
    // Past the bound, the command and whatever it started are ended, one
    // that ignores SIGTERM too, within a short grace; nothing is left a
    // zombie.
    void endedWithWhatItStarted();
    // A command the caller leaves to the user (a dialog) runs on to its end
    // and is reaped then.
    void leftRunningWhenAsked();
    // The caller's odd limits, nice value, blocked and ignored signals and
    // inherited descriptors do not reach the command.
    void startsAsInitWould();
};

void TestShellCommand::outputKept_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QByteArray>("kept");
    QTest::addColumn<CommandEnd>("end");
    QTest::newRow("short") << QByteArray("printf abc") << 98 << QByteArray("abc")
                           << CommandEnd::Succeeded;
    QTest::newRow("exact") << QByteArray("printf abc") << 3 << QByteArray("abc")
                           << CommandEnd::Succeeded;
    QTest::newRow("status kept") << QByteArray("printf x; exit 3") << 98 << QByteArray("x")
                                 << CommandEnd::Failed;
    QTest::newRow("nothing written")
        << QByteArray("true") << 98 << QByteArray() << CommandEnd::Succeeded;
    QTest::newRow("bytes of every value") << QByteArray("printf 'a\\000b\\377\\n'") << 98
                                          << QByteArray("a\0b\xff\n", 5) << CommandEnd::Succeeded;
    QTest::newRow("more than one read") << QByteArray("head -c 10000 /dev/zero | tr '\\000' x")
                                        << 9000 << QByteArray(9000, 'x') << CommandEnd::Succeeded;
}

void TestShellCommand::outputKept()
{
    QFETCH(QByteArray, command);
    QFETCH(int, limit);
    QFETCH(QByteArray, kept);
    QFETCH(CommandEnd, end);
    OutputCapture output = capture(std::size_t(limit));
    output.text = "left from before";
    QCOMPARE(powerdaemon::runShellCommand(command.constData(), 5s, &output), end);
    QCOMPARE(bytes(output.text), kept);
    QCOMPARE(laptop::zombieChildren(), 0);
}

void TestShellCommand::limitClosesThePipe()
{
    QElapsedTimer clock;
    clock.start();
    OutputCapture output = capture(10);
    QCOMPARE(powerdaemon::runShellCommand("yes", 10s, &output), CommandEnd::Failed);
    QVERIFY2(clock.elapsed() < 5000, QByteArray::number(clock.elapsed()));
    QCOMPARE(bytes(output.text), QByteArray("y\ny\ny\ny\ny\n"));

    // No byte kept at all: the pipe is closed at once.
    output = capture(0);
    QCOMPARE(powerdaemon::runShellCommand("yes", 10s, &output), CommandEnd::Failed);
    QVERIFY(output.text.empty());
    QVERIFY2(clock.elapsed() < 5000, QByteArray::number(clock.elapsed()));
    QCOMPARE(laptop::zombieChildren(), 0);
}

void TestShellCommand::readUntilEveryWriterCloses()
{
    QElapsedTimer clock;
    clock.start();
    OutputCapture output = capture(98);
    QCOMPARE(powerdaemon::runShellCommand("(sleep 1; printf late) & printf now", 10s, &output),
             CommandEnd::Succeeded);
    QVERIFY(clock.elapsed() >= 1000);
    QCOMPARE(bytes(output.text), QByteArray("nowlate"));
    QVERIFY(laptop::waitFor([] { return laptop::zombieChildren() == 0; }));
}

void TestShellCommand::boundCoversTheReading()
{
    QElapsedTimer clock;
    clock.start();
    OutputCapture output = capture(98);
    QCOMPARE(powerdaemon::runShellCommand("printf early; sleep 3", 300ms, &output),
             CommandEnd::StillRunning);
    QVERIFY2(clock.elapsed() < 1500, QByteArray::number(clock.elapsed()));
    QCOMPARE(bytes(output.text), QByteArray("early"));

    // A shell that has ended but left the pipe to a command it started is
    // seen to have ended once the bound has passed.
    clock.restart();
    QCOMPARE(powerdaemon::runShellCommand("sleep 3 & printf x", 300ms, &output),
             CommandEnd::Succeeded);
    QVERIFY2(clock.elapsed() < 1500, QByteArray::number(clock.elapsed()));
    QCOMPARE(bytes(output.text), QByteArray("x"));
    QVERIFY(laptop::waitFor([] { return laptop::zombieChildren() == 0; }, 10000));
}

void TestShellCommand::withoutCaptureOutputIsShared()
{
    StreamCapture out(STDOUT_FILENO);
    const CommandEnd end = powerdaemon::runShellCommand("printf shared", 5s);
    const QByteArray written = out.finish();
    QCOMPARE(end, CommandEnd::Succeeded);
    QCOMPARE(written, QByteArray("shared"));
}

void TestShellCommand::closedStandardDescriptors()
{
    const int savedIn = ::dup(STDIN_FILENO);
    const int savedOut = ::dup(STDOUT_FILENO);
    QVERIFY(savedIn > STDOUT_FILENO && savedOut > STDOUT_FILENO);
    std::fflush(stdout);

    // Both closed: the pipe's read end becomes 0, its write end 1.
    ::close(STDIN_FILENO);
    ::close(STDOUT_FILENO);
    OutputCapture bothClosed = capture(98);
    const CommandEnd bothEnd = powerdaemon::runShellCommand("printf both", 5s, &bothClosed);

    // Only standard output closed: the read end becomes 1.
    ::dup2(savedIn, STDIN_FILENO);
    OutputCapture outClosed = capture(98);
    const CommandEnd outEnd = powerdaemon::runShellCommand("printf out", 5s, &outClosed);

    ::dup2(savedOut, STDOUT_FILENO);
    ::close(savedIn);
    ::close(savedOut);
    QCOMPARE(bothEnd, CommandEnd::Succeeded);
    QCOMPARE(bytes(bothClosed.text), QByteArray("both"));
    QCOMPARE(outEnd, CommandEnd::Succeeded);
    QCOMPARE(bytes(outClosed.text), QByteArray("out"));
}

void TestShellCommand::ranToItsEnd()
{
    QVERIFY(powerdaemon::ranToItsEnd(CommandEnd::Succeeded));
    QVERIFY(powerdaemon::ranToItsEnd(CommandEnd::Failed));
    QVERIFY(!powerdaemon::ranToItsEnd(CommandEnd::NotStarted));
    QVERIFY(!powerdaemon::ranToItsEnd(CommandEnd::StillRunning));
}

void TestShellCommand::endedWithWhatItStarted()
{
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(powerdaemon::runShellCommand("sleep 31.5 & trap '' TERM; sleep 31.7", 300ms),
             CommandEnd::StillRunning);
    // The bound, then at most the grace before SIGKILL and the reaping.
    QVERIFY2(clock.elapsed() >= 300 && clock.elapsed() < 2800, QByteArray::number(clock.elapsed()));
    QCOMPARE(laptop::processesWith("sleep 31."), QStringList());
    QCOMPARE(laptop::zombieChildren(), 0);
}

void TestShellCommand::leftRunningWhenAsked()
{
    QFile::remove(QStringLiteral("/tmp/left-running"));
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(powerdaemon::runShellCommand("sleep 1; touch /tmp/left-running", 300ms, nullptr,
                                          AtBound::Leave),
             CommandEnd::StillRunning);
    QVERIFY2(clock.elapsed() < 900, QByteArray::number(clock.elapsed()));
    QVERIFY(
        laptop::waitFor([] { return QFile::exists(QStringLiteral("/tmp/left-running")); }, 10000));
    QVERIFY(laptop::waitFor([] { return laptop::zombieChildren() == 0; }));
}

// The C library refuses to change the signals it keeps for its threads
// (32 and 33); a caller that is not a C program may have ignored them. The
// action is the kernel's: the test puts back exactly what was there.
using KernelAction = std::array<unsigned long, 8>;
static bool ignoreThroughKernel(int signal, KernelAction& before)
{
    const KernelAction ignore = {reinterpret_cast<unsigned long>(SIG_IGN)};
    return ::syscall(SYS_rt_sigaction, signal, ignore.data(), before.data(), (_NSIG - 1) / 8) == 0;
}
static void restoreThroughKernel(int signal, const KernelAction& before)
{
    ::syscall(SYS_rt_sigaction, signal, before.data(), nullptr, (_NSIG - 1) / 8);
}

void TestShellCommand::startsAsInitWould()
{
    // The oddities a caller may have set before it started the program.
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGHUP);
    sigaddset(&blocked, SIGTERM);
    sigset_t before;
    QVERIFY(::sigprocmask(SIG_BLOCK, &blocked, &before) == 0);
    const auto oldInt = std::signal(SIGINT, SIG_IGN);
    const auto oldQuit = std::signal(SIGQUIT, SIG_IGN);
    KernelAction old32{}, old33{};
    QVERIFY(ignoreThroughKernel(32, old32) && ignoreThroughKernel(33, old33));
    const int oldNice = ::getpriority(PRIO_PROCESS, 0);
    QVERIFY(::setpriority(PRIO_PROCESS, 0, 10) == 0);
    rlimit cpu{}, size{}, files{};
    QVERIFY(::getrlimit(RLIMIT_CPU, &cpu) == 0 && ::getrlimit(RLIMIT_FSIZE, &size) == 0 &&
            ::getrlimit(RLIMIT_NOFILE, &files) == 0);
    // A CPU limit counts what the process used so far: a minute more than
    // that, however long the earlier cases ran.
    rusage used{};
    QVERIFY(::getrusage(RUSAGE_SELF, &used) == 0);
    const rlim_t aMinuteMore = rlim_t(used.ru_utime.tv_sec + used.ru_stime.tv_sec + 60);
    const rlimit cpuLimit{std::min(aMinuteMore, cpu.rlim_max), cpu.rlim_max},
        fourMiB{4 << 20, size.rlim_max}, sixteen{16, files.rlim_max};
    QVERIFY(::setrlimit(RLIMIT_CPU, &cpuLimit) == 0 && ::setrlimit(RLIMIT_FSIZE, &fourMiB) == 0 &&
            ::setrlimit(RLIMIT_NOFILE, &sixteen) == 0);
    // A descriptor that is not marked close-on-exec.
    const int inherited = ::open("/dev/null", O_RDONLY);

    OutputCapture output = capture(4096);
    const CommandEnd end = powerdaemon::runShellCommand(
        "ulimit -t -f -n -c; grep -E '^Sig(Blk|Ign)' /proc/self/status; "
        "cut -d' ' -f19 /proc/self/stat; ls /proc/self/fd | tr '\\n' ' '",
        5s, &output);

    ::close(inherited);
    ::setrlimit(RLIMIT_CPU, &cpu);
    ::setrlimit(RLIMIT_FSIZE, &size);
    ::setrlimit(RLIMIT_NOFILE, &files);
    ::setpriority(PRIO_PROCESS, 0, oldNice);
    std::signal(SIGINT, oldInt);
    std::signal(SIGQUIT, oldQuit);
    restoreThroughKernel(32, old32);
    restoreThroughKernel(33, old33);
    ::sigprocmask(SIG_SETMASK, &before, nullptr);

    QCOMPARE(end, CommandEnd::Succeeded);
    const QList<QByteArray> lines = bytes(output.text).split('\n');
    QCOMPARE(lines.size(), 8);
    // ulimit's lines: "cpu time (seconds, -t) unlimited" and so on.
    QVERIFY2(lines[0].endsWith(" unlimited") && lines[0].contains("-t"), lines[0]);
    QVERIFY2(lines[1].endsWith(" unlimited") && lines[1].contains("-f"), lines[1]);
    QVERIFY2(lines[2].endsWith(" 1024") && lines[2].contains("-n"), lines[2]);
    QVERIFY2(lines[3].endsWith(" 0") && lines[3].contains("-c"), lines[3]);
    QCOMPARE(lines[4], QByteArray("SigBlk:\t0000000000000000"));
    QCOMPARE(lines[5], QByteArray("SigIgn:\t0000000000000000"));
    // Only root outside a user namespace may lower its nice value again.
    if (laptop::readFile(QStringLiteral("/proc/self/uid_map")).simplified() == "0 0 4294967295") {
        QCOMPARE(lines[6], QByteArray("0"));
    }
    // ls's own descriptor for the folder is the only one past 2.
    QCOMPARE(lines[7], QByteArray("0 1 2 3 "));
}

QTEST_GUILESS_MAIN(TestShellCommand)
#include "tst_shellcommand.moc"
