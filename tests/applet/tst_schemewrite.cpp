// SPDX-License-Identifier: GPL-2.0-or-later
// How the applet writes the daemon's configuration: on generated hand-edited
// files bash reads the chosen scheme for the key of the power source, the
// other key as before and every other line keeps its bytes; unsafe names,
// a missing file and a full disk leave the file as it was; a command that
// does not end is given up on.
#include "configcheck.h"
#include "laptopfixture.h"
#include "schememenuhost.h"
#include "streamcapture.h"

#include "applet/execshell.h"
#include "powerdaemon/configtext.h"
#include "powerdaemon/switchlock.h"
#include "schemes/bytesview.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

#include <functional>
#include <memory>

#include <unistd.h>

namespace {

const QString configPath = QStringLiteral("/etc/sysconfig/powersave/common");

const char* keyName(configcases::Key key)
{
    return key == configcases::Key::Ac ? "AC_SCHEME" : "BATTERY_SCHEME";
}

} // namespace

class TestSchemeWrite : public SchemeMenuTest
{
    Q_OBJECT

private Q_SLOTS:
    void init() { startOnMainsWithBothKeys(); }

    void propertyOnTheText()
    {
        configcases::checkAll(configcases::generate(400, 4), [](const configcases::Case& c) {
            return QByteArray::fromStdString(powerdaemon::setKeyValue(
                schemes::bytesView(c.text), keyName(c.key), schemes::bytesView(c.newValue)));
        });
    }

    // The real switch on the laptop's file, on mains power and on battery.
    void propertyThroughTheSwitch()
    {
        configcases::checkAll(configcases::generate(20, 44), [this](const configcases::Case& c) {
            laptop::mains(c.key == configcases::Key::Ac);
            laptop::writeFile(configPath, c.text);
            m_host->menu.changeScheme(QString::fromLatin1(c.newValue));
            return laptop::readFile(configPath);
        });
    }

    void refusedNames()
    {
        const QByteArray before = laptop::readFile(configPath);
        for (const char* name : {"$(touch /tmp/pwned)", "a\"b", "line\nend", "back\\slash"}) {
            StreamCapture err(STDERR_FILENO);
            m_host->menu.changeScheme(QString::fromLatin1(name));
            const QByteArray said = err.finish();
            QVERIFY2(said.startsWith("ovraapplet: scheme name not written to "
                                     "/etc/sysconfig/powersave/common"),
                     said.constData());
        }
        QCOMPARE(laptop::readFile(configPath), before);
        QCOMPARE(laptop::shellCommands(), QStringList()); // nothing changed: no reload
        QVERIFY(!QFile::exists(QStringLiteral("/tmp/pwned")));
    }

    void missingConfigNotCreated()
    {
        QVERIFY(QFile::remove(configPath));
        StreamCapture err(STDERR_FILENO);
        m_host->menu.changeScheme(QStringLiteral("powersave"));
        QCOMPARE(err.finish(), QByteArray("ovraapplet: configuration "
                                          "/etc/sysconfig/powersave/common is missing; not "
                                          "created\n"));
        QVERIFY(!QFile::exists(configPath));
    }

    void fullDiskKeepsTheFile()
    {
        const QByteArray dir = "/etc/sysconfig/powersave";
        const laptop::SmallFileSystem small(dir, "size=64k");
        QVERIFY(small.mounted());
        const QByteArray before = "AC_SCHEME=\"performance\"\n# " + QByteArray(40000, 'x') + '\n';
        laptop::writeFile(configPath, before);
        StreamCapture err(STDERR_FILENO);
        m_host->menu.changeScheme(QStringLiteral("powersave"));
        const QByteArray said = err.finish();
        QCOMPARE(said, QByteArray("ovraapplet: Could not write file "
                                  "/etc/sysconfig/powersave/common: No space left on device\n"));
        QCOMPARE(laptop::readFile(configPath), before);
        // The switch lock stays; no temporary file does.
        QCOMPARE(QDir(QString::fromLatin1(dir))
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{QStringLiteral(".common.lock"), QStringLiteral("common")}));
    }

    // Another switch holds the lock for the whole wait: the applet's own
    // switch as root says why on standard error and leaves the file as it
    // was; its reload runs all the same, as after any failed write.
    void heldUpByAnotherSwitch()
    {
        const powerdaemon::SwitchLock other;
        QVERIFY(other.held());
        const QByteArray before = laptop::readFile(configPath);
        StreamCapture err(STDERR_FILENO);
        m_host->menu.changeScheme(QStringLiteral("powersave"));
        const QByteArray said = err.finish();
        QVERIFY2(said.startsWith("ovraapplet: Could not lock file "
                                 "/etc/sysconfig/powersave/.common.lock: another switch held it "
                                 "for more than 5 s\n"),
                 said.constData());
        QCOMPARE(laptop::readFile(configPath), before);
        QCOMPARE(laptop::shellCommands().constFirst(),
                 QStringLiteral("/etc/init.d/powersave reload &>/dev/null"));
    }

    // A command that runs past the bound: false, a line on standard error,
    // the command is ended with what it started; later commands run.
    void commandTimeLimit()
    {
        QFile::remove(QStringLiteral("/tmp/late"));
        QElapsedTimer clock;
        clock.start();
        StreamCapture err(STDERR_FILENO);
        const bool result = powerdaemon::ranToItsEnd(
            runShell("sleep 2; echo done >/tmp/late", std::chrono::milliseconds(300)));
        const QByteArray said = err.finish();
        QVERIFY(!result);
        QVERIFY(clock.elapsed() < 1800);
        QCOMPARE(said, QByteArray("ovraapplet: command did not finish within 0.3 s, ended: "
                                  "sleep 2; echo done >/tmp/late\n"));
        QVERIFY(execShell("true"));
        // Ended with its sleep, so it never gets to write.
        QCOMPARE(laptop::processesWith("sleep 2"), QStringList());
        QCOMPARE(laptop::zombieChildren(), 0);
        QVERIFY(!QFile::exists(QStringLiteral("/tmp/late")));
    }
};

QTEST_MAIN(TestSchemeWrite)
#include "tst_schemewrite.moc"
