// SPDX-License-Identifier: GPL-2.0-or-later
// The common routines run by an ordinary user (uid 65534): the shell runner
// in its forked child, and files the user may not write.
#include "common/UPMComm.h"
#include "laptopfixture.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

class TestCommonAsUser : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(getuid(), uid_t(65534)); }
    void init() { laptop::clearCalls(); }
    void execCmd();
    void execFailureEndsTheChild();
    void forkFailure();
    void writeTextFileKeepsThePermissions();
    void writeTextFileInAFolderNotWritable();
    void commonFileNotWritable();
};

void TestCommonAsUser::execCmd()
{
    // setuid(0) fails: the shell runs with the caller's ids, the line unchanged.
    const QByteArray command = "/etc/init.d/powersaved reload &>/dev/null";
    for (const int exitCode : {0, 1, 127}) {
        laptop::clearCalls();
        laptop::setBehaviour("powersaved.reload", exitCode);
        QCOMPARE(ExecCmd(command), exitCode == 0);
        const QList<laptop::Call> calls = laptop::calls();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].shellCommand, QString(command));
        QCOMPARE(calls[0].ruid, 65534u);
        QCOMPARE(calls[0].euid, 65534u);
    }
    QVERIFY(ExecCmd(""));
    QVERIFY(!ExecCmd("/no/such/script reload &>/dev/null"));
}

void TestCommonAsUser::execFailureEndsTheChild()
{
    // An argument beyond the kernel's limit makes exec fail (E2BIG). A child
    // that returned into the program would go on from here in a second process.
    const pid_t self = getpid();
    QVERIFY(!ExecCmd(QByteArray(256 * 1024, ' ') + "true"));
    if (getpid() != self) {
        QFile("/tmp/child-returned").open(QIODevice::WriteOnly);
        _exit(0);
    }
    QVERIFY(!QFile::exists("/tmp/child-returned"));
}

void TestCommonAsUser::forkFailure()
{
    // With no process left to the user, fork fails: the runner reports false
    // and leaves an unrelated child of the caller alone.
    const pid_t unrelated = fork();
    if (unrelated == 0) {
        usleep(300 * 1000);
        _exit(0);
    }
    rlimit saved;
    QCOMPARE(getrlimit(RLIMIT_NPROC, &saved), 0);
    rlimit none = saved;
    none.rlim_cur = 0;
    QCOMPARE(setrlimit(RLIMIT_NPROC, &none), 0);
    const bool result = ExecCmd("true");
    setrlimit(RLIMIT_NPROC, &saved);
    QVERIFY(!result);
    int status = -1;
    QCOMPARE(waitpid(unrelated, &status, 0), unrelated);
    QCOMPARE(status, 0);
}

void TestCommonAsUser::writeTextFileKeepsThePermissions()
{
    const QByteArray path = "/tmp/own-file";
    laptop::writeFile(path, "old text");
    QCOMPARE(::chmod(path.constData(), 0640), 0);
    QVERIFY(WriteTextFile(path, "new"));
    QCOMPARE(laptop::readFile(path), QByteArray("new"));
    struct stat status;
    QCOMPARE(::stat(path.constData(), &status), 0);
    QCOMPARE(status.st_mode & 07777, mode_t(0640));
}

void TestCommonAsUser::writeTextFileInAFolderNotWritable()
{
    // A file that all may write, in a folder the user may not: it is never
    // rewritten in place (a cut write or a second writer would leave a
    // mixed file behind), so the write fails and leaves it whole.
    const QByteArray folder = "/tmp/closed-folder";
    const QByteArray path = folder + "/common";
    QCOMPARE(::mkdir(folder.constData(), 0755), 0);
    const QByteArray text = "AC_SCHEME=\"performance\"\n";
    laptop::writeFile(path, text);
    QCOMPARE(::chmod(path.constData(), 0666), 0);
    QCOMPARE(::chmod(folder.constData(), 0555), 0);
    QVERIFY_THROWS_EXCEPTION(EInOutError, WriteTextFile(path, "A=1\n"));
    QCOMPARE(laptop::readFile(path), text);
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"common"});
    ::chmod(folder.constData(), 0755);
}

void TestCommonAsUser::commonFileNotWritable()
{
    // Readable by all, writable by root only: the user's switch goes to the
    // helper, which no polkit here authorises. The user is told so, the
    // file keeps its text and no command runs.
    const QByteArray common = "/etc/sysconfig/powersave/common";
    const QByteArray before = laptop::readFile(common);
    QByteArray ac, battery;
    QVERIFY(ReadCurrentSchemes(ac, battery));
    QStringList messages;
    const ErrorPresenter previous =
        SetErrorPresenter([&messages](const QString& message) { messages << message; });
    WriteSchemes("powersave", std::nullopt);
    SetErrorPresenter(previous);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.front().startsWith(QStringLiteral(
                 "The power scheme \"powersave\" was not switched: you are not authorized")),
             qPrintable(messages.front()));
    QCOMPARE(laptop::readFile(common), before);
    QVERIFY(laptop::calls().isEmpty());
}

QTEST_GUILESS_MAIN(TestCommonAsUser)
#include "tst_commonasuser.moc"
