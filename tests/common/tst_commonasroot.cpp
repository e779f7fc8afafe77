// SPDX-License-Identifier: GPL-2.0-or-later
// The common routines on the simulated laptop, run by root: files, error
// boxes, the shell runner, the battery probe, the scheme list and activation.
#include "boundedcall.h"
#include "common/UPMComm.h"
#include "common/execcmd.h"
#include "common/schemekeys.h"
#include "forms/errorbox.h"
#include "laptopfixture.h"
#include "powerdaemon/switchlock.h"
#include "streamcapture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <functional>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray CommonFile = "/etc/sysconfig/powersave/common";

// Runs work while closing every message box it opens; returns their texts, or
// "bad box" for one without the error icon and a single OK button.
QStringList boxesShownBy(const std::function<void()>& work)
{
    QStringList texts;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&texts] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            const bool errorBox = box->icon() == QMessageBox::Critical &&
                                  box->buttons().size() == 1 &&
                                  box->standardButtons() == QMessageBox::Ok;
            texts << (errorBox ? box->text() : QStringLiteral("bad box"));
            box->buttons().constFirst()->click();
        }
    });
    closer.start(10);
    work();
    return texts;
}

mode_t modeOf(const QByteArray& path)
{
    struct stat status;
    return ::stat(path.constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

} // namespace

class TestCommonAsRoot : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void missingCommonFile();
    void unreadableFiles();
    void filesOfOtherKindsAndSizes();
    void writeTextFileKeepsThePermissions();
    void fileErrorTexts();
    void messagesReachTheInstalledPresenter();
    void execCmd();
    void execCmdBecomesRoot();
    void batteryProbe();
    void listSchemes();
    void writeSchemes_data();
    void writeSchemes();
    void writeSchemesLeavesTheOtherKey();
    void unsafeNameTouchesNothing();
    void fullDiskKeepsTheOldFile();
    void twoWritersNeverCutTheFile();
    void heldUpByAnotherSwitch();
    void killedWriterNeverCutsTheFile();
    void symlinkedFileAndOwner();
    void execCmdTimeLimit();
};

// Messages appear in the standard error box, as in the popup.
void TestCommonAsRoot::initTestCase()
{
    SetErrorPresenter(showErrorBoxOverActiveWindow);
}

// Every test starts from the laptop's own common file and an empty call log.
void TestCommonAsRoot::init()
{
    QDir(CommonFile).removeRecursively();
    QFile::remove(CommonFile);
    laptop::writeFile(CommonFile,
                      laptop::readFile(qEnvironmentVariable("LAPTOP_SRC") + "/fixtures/common"));
    QVERIFY(::chmod(CommonFile.constData(), 0644) == 0);
    laptop::clearCalls();
}

void TestCommonAsRoot::missingCommonFile()
{
    QVERIFY(QFile::remove(CommonFile));
    QByteArray ac = "kept", battery = "kept";
    QCOMPARE(boxesShownBy([&] { QVERIFY(!ReadCurrentSchemes(ac, battery)); }),
             QStringList{"Cound not find file: " + CommonFile});
    QCOMPARE(ac + battery, QByteArray("keptkept"));
    // The key update fails before any command runs.
    try {
        WriteSchemes("powersave", "powersave");
        QFAIL("no error raised");
    } catch (const EInOutError& e) {
        QCOMPARE(e.errorCode(), ENOENT);
        QCOMPARE(e.fileName(), CommonFile);
        QVERIFY(QByteArray(e.what()).contains(CommonFile + ": No such file or directory"));
    }
    QVERIFY(laptop::calls().isEmpty());
    QVERIFY(!QFile::exists(CommonFile));
}

void TestCommonAsRoot::unreadableFiles()
{
    // A directory opens but every read fails, even for root.
    QVERIFY(QFile::remove(CommonFile) && QDir().mkdir(CommonFile));
    QByteArray ac, battery;
    QVERIFY_THROWS_EXCEPTION(EInOutError, ReadCurrentSchemes(ac, battery));
    QVERIFY_THROWS_EXCEPTION(EInOutError, WriteSchemes("a", "b"));
    QVERIFY(laptop::calls().isEmpty());
    QVERIFY_THROWS_EXCEPTION(EInOutError, WriteTextFile("/tmp/no/such/dir", "x"));
    laptop::battery(0, {"readable=no"});
    QVERIFY_THROWS_EXCEPTION(EInOutError, GetPowerState());
}

// A state file that is a FIFO or a link to an endless device, and a
// configuration beyond 1 MiB, raise the read error at once.
void TestCommonAsRoot::filesOfOtherKindsAndSizes()
{
    const auto readError = [](const char* what, const std::function<void()>& read) {
        int code = 0;
        laptop::finishWithin(std::chrono::seconds(5), what, [&] {
            try {
                read();
            } catch (const EInOutError& e) {
                code = e.errorCode();
            }
        });
        return code;
    };
    const QByteArray state = "/proc/H8/BAT0/state";
    QVERIFY(QFile::remove(state) && ::mkfifo(state.constData(), 0666) == 0);
    QCOMPARE(readError("reading a FIFO", [] { GetPowerState(); }), EINVAL);
    QVERIFY(QFile::remove(state) && ::symlink("/dev/zero", state.constData()) == 0);
    QCOMPARE(readError("reading /dev/zero", [] { GetPowerState(); }), EINVAL);

    QByteArray text = laptop::readFile(CommonFile);
    text += '#' + QByteArray(1024 * 1024 - text.size() - 2, 'x') + '\n';
    laptop::writeFile(CommonFile, text);
    QByteArray ac, battery;
    bool read = false;
    QCOMPARE(readError("reading 1 MiB", [&] { read = ReadCurrentSchemes(ac, battery); }), 0);
    QVERIFY(read);
    QCOMPARE(ac + '/' + battery, QByteArray("performance/powersave"));
    laptop::writeFile(CommonFile, text + '\n');
    try {
        ReadCurrentSchemes(ac, battery);
        QFAIL("no error raised");
    } catch (const EInOutError& e) {
        QCOMPARE(e.errorCode(), EFBIG);
        QCOMPARE(QByteArray(e.what()), "Could not read file " + CommonFile + ": File too large");
    }
    QVERIFY_THROWS_EXCEPTION(EInOutError, WriteSchemes("a", "b"));
    QCOMPARE(laptop::readFile(CommonFile), text + '\n');
}

void TestCommonAsRoot::writeTextFileKeepsThePermissions()
{
    // Root's write opens nothing up: the file keeps its mode, and no
    // command runs for it.
    for (const QByteArray& path : {CommonFile, QByteArray("/tmp/it's a file")}) {
        laptop::writeFile(path, "old text");
        QVERIFY(::chmod(path.constData(), 0600) == 0);
        QVERIFY(WriteTextFile(path, "X=\"1\""));
        QCOMPARE(laptop::readFile(path), QByteArray("X=\"1\""));
        QCOMPARE(modeOf(path), mode_t(0600));
    }
    QVERIFY(laptop::calls().isEmpty());
}

void TestCommonAsRoot::fileErrorTexts()
{
    const QStringList texts = boxesShownBy([] {
        ShowFileError("Message itself", "", 1);
        for (int code = 1; code <= 6; ++code) {
            ShowFileError("ignored", "/f", code);
        }
    });
    QCOMPARE(texts, QStringList({"Message itself", "Cound not find file: /f",
                                 "Cound not delete file: /f", "Cound not rename file: /f",
                                 "Scheme name exists : /f", "cound not create file: /f"}));
}

void TestCommonAsRoot::messagesReachTheInstalledPresenter()
{
    // Whatever the program installs sees every message, the timed-out
    // command's too; taking it away again hands back the one it replaced.
    QStringList seen;
    const ErrorPresenter box =
        SetErrorPresenter([&seen](const QString& message) { seen << message; });
    ShowFileError("ignored", "/f", 2);
    QVERIFY(!RunCommand("sleep 1", std::chrono::milliseconds(100)));
    const ErrorPresenter recorder = SetErrorPresenter(box);
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen[0], QString("Cound not delete file: /f"));
    QVERIFY2(seen[1].contains("sleep 1") && seen[1].contains("0.1 s"), qPrintable(seen[1]));
    recorder("once more");
    QCOMPARE(seen.size(), 3);

    // With none installed a message is a line on standard error.
    const ErrorPresenter installed = SetErrorPresenter({});
    StreamCapture standardError(STDERR_FILENO);
    ShowFileError("ignored", "/f", 1);
    const QByteArray written = standardError.finish();
    SetErrorPresenter(installed);
    QCOMPARE(written, QByteArray("Cound not find file: /f\n"));
}

void TestCommonAsRoot::execCmd()
{
    QVERIFY(ExecCmd("exit 0"));
    QVERIFY(!ExecCmd("exit 1"));
    QVERIFY(!ExecCmd("/no/such/script reload &>/dev/null"));
    QVERIFY(ExecCmd(""));
}

void TestCommonAsRoot::execCmdBecomesRoot()
{
    // Real user 65534 with root's effective id, as in a set-user-id program:
    // the child shell runs as root.
    QProcess probe;
    probe.start("setpriv",
                {"--ruid=65534", "--", QCoreApplication::applicationDirPath() + "/common_execprobe",
                 "/opt/nexalt/pm/pm.sh start &> /dev/null"});
    QVERIFY(probe.waitForFinished(10000));
    QCOMPARE(probe.exitCode(), 0);
    const QList<laptop::Call> calls = laptop::calls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].program + ' ' + calls[0].shellCommand,
             QString("/opt/nexalt/pm/pm.sh /opt/nexalt/pm/pm.sh start &> /dev/null"));
    QCOMPARE(calls[0].ruid + calls[0].euid, 0u);
}

void TestCommonAsRoot::batteryProbe()
{
    // The module's own format, as the battery simulator writes it.
    laptop::battery(0, {"present=yes", "readable=yes", "ac=no", "charge=50", "full=4400",
                        "rate=1800", "cycles=37"});
    RBatState rec;
    QVERIFY(ReadBatState(0, rec));
    QCOMPARE(rec.ACAttachedText + ' ' + rec.RelativeStateOfChargeText + ' ' + rec.VoltageText,
             QByteArray("No 50% 11.100 V"));
    QCOMPARE(rec.ACState, 1);
    QCOMPARE(rec.RelativeStateOfCharge, 50);
    QCOMPARE(rec.FullChargeCapacity, 4400.0);
    QCOMPARE(rec.RemainingCapacity, 2200.0);
    QCOMPARE(rec.RemainingTime, 73);
    QCOMPARE(rec.CycleCount, 37);
    QCOMPARE(GetPowerState(), 1);
    laptop::mains(true);
    QCOMPARE(GetPowerState(), 0);

    RBatState untouched;
    untouched.CycleCount = 99;
    QVERIFY(!ReadBatState(1, untouched));
    QCOMPARE(untouched.CycleCount, 99);
    laptop::battery(0, {"present=no"});
    QCOMPARE(GetPowerState(), -1);
}

void TestCommonAsRoot::listSchemes()
{
    const QString sysconfig = "/etc/sysconfig/powersave/", product = "/opt/nexalt/pm/scheme/";
    for (const char* name : {"scheme_", "scheme_quiet.bak", "scheme_only_here"}) {
        laptop::writeFile(sysconfig + name, "x");
    }
    QVERIFY(QDir().mkdir(sysconfig + "scheme_folder") && QDir().mkdir(sysconfig + "Scheme_case"));
    for (const char* name : {"scheme_", "scheme_quiet.bak", "scheme_folder", "scheme_case"}) {
        laptop::writeFile(product + name, "x");
    }
    const QList<QByteArray> offered = {"performance", "powersave", "presentation", "",
                                       "quiet.bak",   "folder"};
    // Expected in the order in which the directory yields its entries.
    QProcess find;
    find.start("find", {sysconfig, "-mindepth", "1", "-maxdepth", "1", "-printf", "%f\\n"});
    QVERIFY(find.waitForFinished());
    QList<QByteArray> expected;
    for (const QByteArray& entry : find.readAllStandardOutput().split('\n')) {
        if (entry.startsWith("scheme_") && offered.contains(entry.mid(7))) {
            expected << entry.mid(7);
        }
    }
    QCOMPARE(expected.size(), offered.size());
    QVERIFY2(expected != offered, "directory order happens to be the test's order");
    QCOMPARE(ListSchemes(), expected);

    QVERIFY(SchemeAvailable("nexalt_quiet") && !SchemeAvailable("acoustic"));
    QVERIFY(QDir(sysconfig).removeRecursively());
    QVERIFY(ListSchemes().isEmpty());
}

void TestCommonAsRoot::writeSchemes_data()
{
    const QString reload = "/etc/init.d/powersaved reload &>/dev/null",
                  start = "/etc/init.d/powersaved start &>/dev/null",
                  idletime = "/opt/nexalt/pm/idletime.sh restart &> /dev/null";
    QTest::addColumn<int>("reloadExit");
    QTest::addColumn<QStringList>("commands");
    QTest::newRow("reload succeeds") << 0 << QStringList{reload, idletime};
    QTest::newRow("reload fails") << 1 << QStringList{reload, start, idletime};
}

void TestCommonAsRoot::writeSchemes()
{
    QFETCH(int, reloadExit);
    QFETCH(QStringList, commands);
    // A slow reload shows that each command is waited for.
    laptop::setBehaviour("powersaved.reload", reloadExit, 0.3);
    QByteArray expected = laptop::readFile(CommonFile);
    QVERIFY(expected.contains("\nAC_SCHEME=\"performance\"\n"));
    expected.replace("AC_SCHEME=\"performance\"", "AC_SCHEME=\"powersave\"");

    WriteSchemes("powersave", "powersave");

    QStringList run;
    for (const laptop::Call& call : laptop::calls()) {
        run << call.shellCommand;
    }
    QCOMPARE(run, commands);
    QCOMPARE(laptop::readFile(CommonFile), expected);
    QCOMPARE(modeOf(CommonFile), mode_t(0644));
    QByteArray ac, battery;
    QVERIFY(ReadCurrentSchemes(ac, battery));
    QCOMPARE(ac + '/' + battery, QByteArray("powersave/powersave"));
}

void TestCommonAsRoot::writeSchemesLeavesTheOtherKey()
{
    // Another program changed the battery key after the popup read it: only
    // the key of the power source is set, the other one stays as the file
    // has it now.
    laptop::writeFile(CommonFile, "AC_SCHEME=\"performance\"\r\n"
                                  "BATTERY_SCHEME=\"changed meanwhile\" # by hand\r\n");
    WriteSchemes("acoustic", std::nullopt);
    QCOMPARE(laptop::readFile(CommonFile),
             QByteArray("AC_SCHEME=\"acoustic\"\n"
                        "BATTERY_SCHEME=\"changed meanwhile\" # by hand\r\n"));
    WriteSchemes(std::nullopt, "powersave");
    QCOMPARE(laptop::readFile(CommonFile), QByteArray("AC_SCHEME=\"acoustic\"\n"
                                                      "BATTERY_SCHEME=\"powersave\" # by hand\n"));
}

void TestCommonAsRoot::unsafeNameTouchesNothing()
{
    // A scheme file named to run a command as root when the daemon sources
    // the file: refused before anything is written or run.
    const QByteArray before = laptop::readFile(CommonFile);
    for (const QByteArray& name : {QByteArray("$(touch /tmp/pwned)"), QByteArray("a\"b\nc")}) {
        try {
            WriteSchemes(name, std::nullopt);
            QFAIL("no error raised");
        } catch (const UnsafeSchemeName& e) {
            QVERIFY(QByteArray(e.what()).contains(CommonFile));
        }
    }
    QCOMPARE(laptop::readFile(CommonFile), before);
    QCOMPARE(modeOf(CommonFile), mode_t(0644));
    QVERIFY(laptop::calls().isEmpty());
    QVERIFY(!QFile::exists("/tmp/pwned"));
}

void TestCommonAsRoot::fullDiskKeepsTheOldFile()
{
    // A tiny file system over the daemon's directory: the new text does not
    // fit beside the old one. The old file stays whole, no temporary file is
    // left, the error says why and no command runs.
    const QByteArray dir = "/etc/sysconfig/powersave";
    const laptop::SmallFileSystem small(dir, "size=64k");
    QVERIFY(small.mounted());
    const QByteArray before = "AC_SCHEME=\"performance\"\n# " + QByteArray(40000, 'x') + '\n';
    laptop::writeFile(CommonFile, before);
    try {
        WriteSchemes("powersave", std::nullopt);
        QFAIL("no error raised");
    } catch (const EInOutError& e) {
        QCOMPARE(e.errorCode(), ENOSPC);
        QCOMPARE(e.fileName(), CommonFile);
        QVERIFY(QByteArray(e.what()).contains("No space left on device"));
    }
    const QByteArray after = laptop::readFile(CommonFile);
    const QStringList left = QDir(QString::fromLatin1(dir))
                                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    QCOMPARE(after, before);
    QCOMPARE(left, (QStringList{".common.lock", "common"})); // the switch lock stays
    QStringList run;
    for (const laptop::Call& call : laptop::calls()) {
        run << call.shellCommand;
    }
    QCOMPARE(run, QStringList()); // chmod is no stand-in; the daemon commands did not run
}

void TestCommonAsRoot::killedWriterNeverCutsTheFile()
{
    // A writer killed at any moment of its write leaves one whole version:
    // the daemon never sources the tail of an old text as a line of its own.
    const QByteArray tail = "#   touch /tmp/cut\n" + QByteArray(30000, '#') + '\n';
    const QByteArray older = "AC_SCHEME=\"a-much-longer-scheme-name\"\n" + tail;
    const QByteArray newer = "AC_SCHEME=\"short\"\n" + tail;
    laptop::writeFile(CommonFile, older);
    for (int round = 0; round < 60; ++round) {
        const pid_t writer = fork();
        if (writer == 0) {
            for (;;) {
                UpdateSchemeKeys(QByteArray("short"), std::nullopt);
                UpdateSchemeKeys(QByteArray("a-much-longer-scheme-name"), std::nullopt);
            }
        }
        QTest::qSleep(round % 7);
        ::kill(writer, SIGKILL);
        QCOMPARE(::waitpid(writer, nullptr, 0), writer);
        const QByteArray text = laptop::readFile(CommonFile);
        QVERIFY2(text == older || text == newer, qPrintable("round " + QString::number(round)));
    }
}

void TestCommonAsRoot::twoWritersNeverCutTheFile()
{
    // Two processes set the key over and over while this one reads: every
    // read finds one whole version of the file.
    const QByteArray tail = "# " + QByteArray(20000, 'y') + '\n';
    laptop::writeFile(CommonFile, "AC_SCHEME=\"start\"\n" + tail);
    const auto whole = [&tail](const QByteArray& text) {
        return text == "AC_SCHEME=\"start\"\n" + tail || text == "AC_SCHEME=\"first\"\n" + tail ||
               text == "AC_SCHEME=\"second\"\n" + tail;
    };
    QList<pid_t> writers;
    for (const char* name : {"first", "second"}) {
        const pid_t pid = fork();
        if (pid == 0) {
            for (int i = 0; i < 40; ++i) {
                UpdateSchemeKeys(QByteArray(name), std::nullopt);
            }
            _exit(0);
        }
        writers << pid;
    }
    int cut = 0;
    int reads = 0;
    for (int running = 2; running > 0;) {
        cut += whole(laptop::readFile(CommonFile)) ? 0 : 1;
        ++reads;
        running = 0;
        for (const pid_t pid : writers) {
            running += ::kill(pid, 0) == 0 && ::waitpid(pid, nullptr, WNOHANG) == 0 ? 1 : 0;
        }
    }
    QVERIFY(reads > 1);
    QCOMPARE(cut, 0);
    QVERIFY(whole(laptop::readFile(CommonFile)));
}

void TestCommonAsRoot::heldUpByAnotherSwitch()
{
    // Another switch holds the lock for the whole wait: the popup's own
    // switch as root raises the lock's error; it writes nothing and runs
    // no command.
    const powerdaemon::SwitchLock other;
    QVERIFY(other.held());
    const QByteArray before = laptop::readFile(CommonFile);
    try {
        WriteSchemes("powersave", std::nullopt);
        QFAIL("no error raised");
    } catch (const EInOutError& e) {
        QCOMPARE(e.errorCode(), EWOULDBLOCK);
        QCOMPARE(e.fileName(), QByteArray(powerdaemon::SwitchLockFile));
    }
    QCOMPARE(laptop::readFile(CommonFile), before);
    QVERIFY(laptop::calls().isEmpty());
}

void TestCommonAsRoot::symlinkedFileAndOwner()
{
    // Through a symbolic link the file it points to is replaced; the link
    // stays, the owner and the mode stay.
    const QByteArray target = "/etc/sysconfig/powersave/common.real";
    laptop::writeFile(target, "AC_SCHEME=old\n");
    QVERIFY(::chown(target.constData(), 65534, 65534) == 0);
    QVERIFY(::chmod(target.constData(), 0640) == 0);
    QVERIFY(QFile::remove(CommonFile) &&
            ::symlink(target.constData(), CommonFile.constData()) == 0);
    WriteSchemes("new", std::nullopt);
    QCOMPARE(QFileInfo(CommonFile).symLinkTarget(), QString::fromLatin1(target));
    QCOMPARE(laptop::readFile(target), QByteArray("AC_SCHEME=\"new\"\n"));
    struct stat status;
    QVERIFY(::stat(target.constData(), &status) == 0);
    QCOMPARE(status.st_uid, uid_t(65534));
    QCOMPARE(status.st_mode & 07777, mode_t(0640));
}

void TestCommonAsRoot::execCmdTimeLimit()
{
    // A reload that takes longer than the bound: the runner ends it with
    // what it started, the user is told which command did not finish, and
    // nothing of it runs on or is left a zombie.
    laptop::setBehaviour("powersaved.reload", 0, 3);
    const QByteArray reload = "/etc/init.d/powersaved reload &>/dev/null";
    QElapsedTimer clock;
    clock.start();
    bool result = true;
    const QStringList boxes =
        boxesShownBy([&] { result = RunCommand(reload, std::chrono::milliseconds(300)); });
    QVERIFY(!result);
    QVERIFY(clock.elapsed() < 2500);
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes[0].contains(reload) && boxes[0].contains("0.3 s"), qPrintable(boxes[0]));
    QVERIFY2(boxes[0].contains("was ended"), qPrintable(boxes[0]));
    QVERIFY(ExecCmd("true")); // nothing waits on the old command
    QCOMPARE(laptop::processesWith("powersaved"), QStringList());
    QCOMPARE(laptop::zombieChildren(), 0);
    // Ended in its pause, before the stand-in logs its call.
    QVERIFY(laptop::calls().isEmpty());
}

QTEST_MAIN(TestCommonAsRoot)
#include "tst_commonasroot.moc"
