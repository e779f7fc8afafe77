// SPDX-License-Identifier: GPL-2.0-or-later
// One switch at a time: the switch as root waits for the one before it, and
// one that cannot take the lock in time, or finds a lock file that is not
// root's own, is a failed switch that changes nothing; the lock file is
// made root's, mode 0600, so that no other user can take or hold it; what a
// killed switch left is cleaned at the next one.
#include "laptopfixture.h"

#include "powerdaemon/powersavedaemon.h"
#include "powerdaemon/schemerules.h"
#include "powerdaemon/schemeswitch.h"
#include "powerdaemon/switchlock.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <future>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using powerdaemon::Rules;
using powerdaemon::SwitchLock;
using powerdaemon::SwitchReport;

namespace {

const QString common = QString::fromLatin1(powerdaemon::CommonFile);
const QByteArray lockFile = powerdaemon::SwitchLockFile;

SwitchReport switchAc(const char* name)
{
    return powerdaemon::switchScheme({Rules::Popup, std::string(name), std::nullopt});
}

QByteArray acLine()
{
    for (const QByteArray& line : laptop::readFile(common).split('\n')) {
        if (line.startsWith("AC_SCHEME=")) {
            return line;
        }
    }
    return {};
}

} // namespace

class TestSwitchLock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(laptop::inside()); }
    void init()
    {
        QFile::remove(QString::fromLatin1(lockFile));
        ::rmdir(lockFile.constData());
        laptop::writeFile(common, laptop::readFile(qEnvironmentVariable("LAPTOP_SRC") +
                                                   QStringLiteral("/fixtures/common")));
        laptop::clearCalls();
    }

    // A switch held up for the whole wait: not saved, and said why; the
    // file is unchanged and the popup's rules run no command after it.
    void heldForTheWholeWait()
    {
        const SwitchLock other;
        QVERIFY(other.held());
        QElapsedTimer clock;
        clock.start();
        const SwitchReport report = switchAc("powersave");
        const qint64 waited = clock.elapsed();
        QVERIFY2(waited >= 5000 && waited < 8000, QByteArray::number(waited));
        QCOMPARE(report.saved, SwitchReport::Saved::Failed);
        QCOMPARE(report.reason, std::string("Could not lock file "
                                            "/etc/sysconfig/powersave/.common.lock: another "
                                            "switch held it for more than 5 s"));
        QCOMPARE(report.outcome(), powerdaemon::SwitchOutcome::NotSaved);
        QVERIFY(!report.commandsRan);
        QCOMPARE(acLine(), QByteArray("AC_SCHEME=\"performance\""));
        QVERIFY(laptop::calls().isEmpty());
    }

    // The switch before lets the lock go within the wait: this one waits
    // for it, then goes through.
    void waitsForTheSwitchBefore()
    {
        std::promise<bool> taken;
        std::future<bool> held = taken.get_future();
        std::thread before([&taken] {
            const SwitchLock lock;
            taken.set_value(lock.held());
            std::this_thread::sleep_for(std::chrono::milliseconds(700));
        });
        const bool ready = held.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
        if (!ready || !held.get()) {
            before.join();
            QFAIL("the switch before did not take the lock");
        }
        QElapsedTimer clock;
        clock.start();
        const SwitchReport report = switchAc("powersave");
        const qint64 waited = clock.elapsed();
        before.join();
        QVERIFY2(waited >= 500, QByteArray::number(waited));
        QCOMPARE(report.saved, SwitchReport::Saved::Yes);
        QCOMPARE(acLine(), QByteArray("AC_SCHEME=\"powersave\""));
    }

    // A missing lock file is made root's own, mode 0600 whatever the umask,
    // and no other user may open it, so none can take or hold the lock.
    void madeRootsOwn()
    {
        const mode_t umask = ::umask(0777);
        const SwitchReport report = switchAc("powersave");
        ::umask(umask);
        QCOMPARE(report.saved, SwitchReport::Saved::Yes);
        struct stat lock;
        QVERIFY(::lstat(lockFile.constData(), &lock) == 0);
        QVERIFY(S_ISREG(lock.st_mode));
        QCOMPARE(lock.st_uid, uid_t(0));
        QCOMPARE(lock.st_mode & 07777, mode_t(0600));

        const pid_t child = ::fork();
        if (child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
                ::_exit(77);
            }
            const int fd = ::open(lockFile.constData(), O_RDONLY);
            ::_exit(fd < 0 && errno == EACCES ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        if (WEXITSTATUS(status) == 77) {
            QSKIP("user 65534 does not exist in this user namespace");
        }
        QCOMPARE(WEXITSTATUS(status), 0);
    }

    // A lock file that is not a plain file of root's with mode 0600 is
    // never used, and never followed: the switch fails at once, says why,
    // and changes nothing.
    void strangeLockFiles_data()
    {
        QTest::addColumn<QByteArray>("kind");
        QTest::addColumn<QByteArray>("reason");
        const QByteArray notRoots = "Could not lock file /etc/sysconfig/powersave/.common.lock: "
                                    "it is not a plain file of root's with mode 0600";
        QTest::newRow("link to a missing file")
            << QByteArray("link")
            << QByteArray("Could not open file "
                          "/etc/sysconfig/powersave/.common.lock: Too "
                          "many levels of symbolic links");
        QTest::newRow("mode 0644") << QByteArray("0644") << notRoots;
        QTest::newRow("a second name") << QByteArray("hard link") << notRoots;
        QTest::newRow("pipe") << QByteArray("fifo") << notRoots;
        QTest::newRow("folder") << QByteArray("folder")
                                << QByteArray("Could not open file "
                                              "/etc/sysconfig/powersave/.common.lock: Is a "
                                              "directory");
    }
    void strangeLockFiles()
    {
        QFETCH(QByteArray, kind);
        QFETCH(QByteArray, reason);
        QFile::remove(QStringLiteral("/tmp/planted"));
        if (kind == "link") {
            QVERIFY(::symlink("/tmp/planted", lockFile.constData()) == 0);
        } else if (kind == "0644") {
            laptop::writeFile(QString::fromLatin1(lockFile), "");
            QVERIFY(::chmod(lockFile.constData(), 0644) == 0);
        } else if (kind == "hard link") {
            laptop::writeFile(QString::fromLatin1(lockFile), "");
            QVERIFY(::chmod(lockFile.constData(), 0600) == 0);
            QVERIFY(::link(lockFile.constData(), "/etc/sysconfig/powersave/second-name") == 0);
        } else if (kind == "fifo") {
            QVERIFY(::mkfifo(lockFile.constData(), 0600) == 0);
        } else {
            QVERIFY(::mkdir(lockFile.constData(), 0700) == 0);
        }
        QElapsedTimer clock;
        clock.start();
        const SwitchReport report = switchAc("powersave");
        QVERIFY2(clock.elapsed() < 1000, QByteArray::number(clock.elapsed()));
        QFile::remove(QStringLiteral("/etc/sysconfig/powersave/second-name"));
        QCOMPARE(report.saved, SwitchReport::Saved::Failed);
        QCOMPARE(QByteArray::fromStdString(report.reason), reason);
        QCOMPARE(acLine(), QByteArray("AC_SCHEME=\"performance\""));
        QVERIFY(!QFile::exists(QStringLiteral("/tmp/planted")));
    }

    // A temporary file that a killed switch left goes at the next switch;
    // a file that only looks like one stays.
    void leftTemporaryCleaned()
    {
        const QString folder = QStringLiteral("/etc/sysconfig/powersave/");
        laptop::writeFile(folder + QStringLiteral(".common.ovra-new.Ab3xY9"), "AC_SCHEME=\"cut");
        laptop::writeFile(folder + QStringLiteral(".common.backup"), "kept");
        QCOMPARE(switchAc("powersave").saved, SwitchReport::Saved::Yes);
        QVERIFY(!QFile::exists(folder + QStringLiteral(".common.ovra-new.Ab3xY9")));
        QVERIFY(QFile::exists(folder + QStringLiteral(".common.backup")));
    }
};

QTEST_GUILESS_MAIN(TestSwitchLock)
#include "tst_switchlock.moc"
