// SPDX-License-Identifier: GPL-2.0-or-later
// The one command runner: the start of a command's standard output kept
// within the bound, the pipe closed once the limit is reached, and the
// caller's own standard output left alone when nothing is kept.
#include "laptopfixture.h"
#include "streamcapture.h"

#include "powerdaemon/shellcommand.h"

#include <QElapsedTimer>
#include <QTest>

#include <string>

#include <unistd.h>

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

QTEST_GUILESS_MAIN(TestShellCommand)
#include "tst_shellcommand.moc"
