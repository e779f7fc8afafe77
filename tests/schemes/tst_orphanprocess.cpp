// SPDX-License-Identifier: GPL-2.0-or-later
// The program a switch starts beside the event loop: its outputs and exit
// status come back; one that cannot be executed is told; and giving it up
// waits for nothing, lets it finish on its own and leaves no zombie.
#include "schemes/orphanprocess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

#include <sys/stat.h>

namespace {

using schemes::OrphanProcess;

constexpr std::size_t Limit = 64 * 1024;

QList<QByteArray> shell(const QByteArray& script)
{
    return {"-c", script};
}

// This process's children, of all its threads: none once a given-up
// program has ended, since init is its relay's parent.
QStringList childProcesses()
{
    QStringList pids;
    for (const QString& task :
         QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile file(QStringLiteral("/proc/self/task/%1/children").arg(task));
        if (file.open(QIODevice::ReadOnly)) {
            pids += QString::fromLatin1(file.readAll()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        }
    }
    return pids;
}

} // namespace

class TestOrphanProcess : public QObject
{
    Q_OBJECT

private slots:
    void outputsAndStatus()
    {
        OrphanProcess process;
        QSignalSpy ended(&process, &OrphanProcess::finished);
        QVERIFY(process.start("/bin/sh", shell("echo report; echo words >&2; exit 3"), Limit));
        QVERIFY(process.isRunning());
        QVERIFY(ended.wait(10000));
        QCOMPARE(ended.count(), 1);
        QVERIFY(!process.isRunning());
        QVERIFY(process.outcome().started);
        QCOMPARE(process.outcome().exitCode, 3);
        QCOMPARE(process.outcome().output, QByteArray("report\n"));
        QCOMPARE(process.outcome().errors, QByteArray("words\n"));
    }

    // A program killed by a signal has no exit code; what it wrote before stays.
    void killedBySignal()
    {
        OrphanProcess process;
        QSignalSpy ended(&process, &OrphanProcess::finished);
        QVERIFY(process.start("/bin/sh", shell("echo half; kill -KILL $$"), Limit));
        QVERIFY(ended.wait(10000));
        QVERIFY(process.outcome().started);
        QCOMPARE(process.outcome().exitCode, -1);
        QCOMPARE(process.outcome().output, QByteArray("half\n"));
    }

    void notExecutable()
    {
        OrphanProcess process;
        QSignalSpy ended(&process, &OrphanProcess::finished);
        QVERIFY(process.start("/nonexistent/pkexec", {}, Limit));
        QVERIFY(ended.wait(10000));
        QVERIFY(!process.outcome().started);
        QVERIFY(process.outcome().error.contains(QStringLiteral("No such file")));
    }

    // Output past the limit is read and dropped: the program never blocks on it.
    void outputBeyondTheLimit()
    {
        OrphanProcess process;
        QSignalSpy ended(&process, &OrphanProcess::finished);
        QVERIFY(process.start("/bin/sh", shell("head -c 1000000 /dev/zero"), 1000));
        QVERIFY(ended.wait(10000));
        QCOMPARE(process.outcome().exitCode, 0);
        QCOMPARE(process.outcome().output.size(), 1000);
    }

    // The program starts with nothing blocked, whatever the caller blocked.
    void signalsNotInherited()
    {
        sigset_t blocked;
        sigemptyset(&blocked);
        sigaddset(&blocked, SIGTERM);
        sigset_t before;
        pthread_sigmask(SIG_BLOCK, &blocked, &before);
        OrphanProcess process;
        QSignalSpy ended(&process, &OrphanProcess::finished);
        const bool started =
            process.start("/bin/sh", shell("grep SigBlk /proc/self/status"), Limit);
        pthread_sigmask(SIG_SETMASK, &before, nullptr);
        QVERIFY(started);
        QVERIFY(ended.wait(10000));
        QCOMPARE(process.outcome().output.simplified(), QByteArray("SigBlk: 0000000000000000"));
    }

    // Given up while it runs: the delete returns at once, the program goes
    // on to its end, and this process is left with no child.
    void givenUp()
    {
        QTemporaryDir dir;
        const QByteArray gate = QFile::encodeName(dir.filePath(QStringLiteral("gate")));
        const QByteArray done = QFile::encodeName(dir.filePath(QStringLiteral("done")));
        QCOMPARE(::mkfifo(gate.constData(), 0600), 0);
        auto process = std::make_unique<OrphanProcess>();
        QVERIFY(process->start("/bin/sh",
                               shell("read line < '" + gate + "'; echo late; touch '" + done + "'"),
                               Limit));
        QElapsedTimer timer;
        timer.start();
        process.reset();
        QVERIFY2(timer.elapsed() < 1000, "deleting waited for the program");
        // Its report has nowhere to go; the program finishes all the same.
        QFile open(QFile::decodeName(gate));
        QVERIFY(open.open(QIODevice::WriteOnly));
        open.write("go\n");
        open.close();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QFile::decodeName(done)), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(childProcesses(), QStringList(), 10000);
    }
};

QTEST_GUILESS_MAIN(TestOrphanProcess)
#include "tst_orphanprocess.moc"
