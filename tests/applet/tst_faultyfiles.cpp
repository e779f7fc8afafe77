// SPDX-License-Identifier: GPL-2.0-or-later
// The applet's reads of files that are not what they should be: a battery
// state file that is a FIFO or a link to an endless device is an unknown
// battery, read at once; a configuration that is a FIFO or larger than the
// bound is not written, with the reason on standard error.
#include "boundedcall.h"
#include "laptopfixture.h"
#include "streamcapture.h"

#include "applet/appletnotices.h"
#include "applet/batteryreadings.h"
#include "batteries/modulefiles.h"
#include "batteries/statefile.h"
#include "powerdaemon/boundedread.h"
#include "powerdaemon/schemeswitch.h"
#include "schemes/switchwords.h"

#include <QFile>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

const QByteArray state0 = "/proc/H8/BAT0/state";
const QByteArray configPath = "/etc/sysconfig/powersave/common";

// Replaces path by a FIFO, or by a symbolic link to target.
void replaceByFifo(const QByteArray& path)
{
    QVERIFY(QFile::remove(QString::fromLatin1(path)));
    QVERIFY(::mkfifo(path.constData(), 0666) == 0);
}

void replaceByLink(const QByteArray& path, const char* target)
{
    QVERIFY(QFile::remove(QString::fromLatin1(path)));
    QVERIFY(::symlink(target, path.constData()) == 0);
}

battery::Bay readBay0()
{
    battery::Bay bay;
    laptop::finishWithin(5s, "reading battery 0",
                         [&bay] { bay = batteries::ModuleFiles().bay(0); });
    return bay;
}

enum class SchemeWrite
{
    Written,
    Failed
};

// The write of the applet's switch alone, its problem said as the applet
// says it.
SchemeWrite writeAcScheme(QByteArray& said)
{
    powerdaemon::SwitchReport report;
    StreamCapture err(STDERR_FILENO);
    laptop::finishWithin(5s, "writing the scheme", [&report] {
        report = powerdaemon::writeSchemeKeys({powerdaemon::Rules::Applet, "powersave", {}},
                                              configPath.toStdString());
        if (const std::optional<QString> problem = schemes::fileProblem(report)) {
            notices::logLine(*problem);
        }
    });
    said = err.finish();
    return report.saved == powerdaemon::SwitchReport::Saved::Failed ? SchemeWrite::Failed
                                                                    : SchemeWrite::Written;
}

} // namespace

class TestFaultyFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(laptop::inside()); }
    // Each case starts from the simulator's state file, whatever the last one left.
    void init()
    {
        if (::unlink(state0.constData()) != 0) {
            ::rmdir(state0.constData());
        }
        laptop::battery(0, {QStringLiteral("present=yes"), QStringLiteral("ac=yes")});
    }

    void stateFileOfOtherKinds_data()
    {
        QTest::addColumn<QByteArray>("kind");
        QTest::newRow("fifo") << QByteArray("fifo");
        QTest::newRow("link to /dev/zero") << QByteArray("/dev/zero");
        QTest::newRow("directory") << QByteArray("directory");
    }

    void stateFileOfOtherKinds()
    {
        QFETCH(QByteArray, kind);
        QVERIFY(readBay0().known);
        if (kind == "fifo") {
            replaceByFifo(state0);
        } else if (kind == "directory") {
            QVERIFY(QFile::remove(QString::fromLatin1(state0)) && ::mkdir(state0, 0755) == 0);
        } else {
            replaceByLink(state0, kind.constData());
        }

        const battery::Bay bay = readBay0();
        QVERIFY(bay.present);
        QVERIFY(!bay.known);
        QCOMPARE(bay.info.status, -1);
        QCOMPARE(battery::statusIndexOf(bay.power), -1);
    }

    // A module file longer than the bound is no reading; one at the bound is.
    void stateFileAtTheBound()
    {
        QByteArray text = "AC attached:                 Yes\nRelativeStateofCharge:       55%\n";
        text += QByteArray(int(batteries::StateFileLimit) - text.size(), '\n');
        QVERIFY(QFile::remove(QString::fromLatin1(state0)));
        laptop::writeFile(QString::fromLatin1(state0), text);
        QVERIFY(readBay0().known);
        QCOMPARE(readBay0().info.perC, 55);
        laptop::writeFile(QString::fromLatin1(state0), text + '\n');
        QVERIFY(!readBay0().known);
    }

    void configFifoIsNotWritten()
    {
        replaceByFifo(configPath);
        QByteArray said;
        QCOMPARE(writeAcScheme(said), SchemeWrite::Failed);
        QCOMPARE(said, QByteArray("ovraapplet: Could not read file " + configPath +
                                  ": Invalid argument\n"));
        struct stat status;
        QVERIFY(::lstat(configPath.constData(), &status) == 0 && S_ISFIFO(status.st_mode));
    }

    void configBeyondTheBound()
    {
        const QByteArray head = "AC_SCHEME=\"performance\"\n#";
        QByteArray text =
            head + QByteArray(int(powerdaemon::ConfigFileLimit) - head.size() - 1, 'x');
        text += '\n';
        ::unlink(configPath.constData()); // a FIFO left behind would hold the write
        laptop::writeFile(QString::fromLatin1(configPath), text);
        QByteArray said;
        QCOMPARE(writeAcScheme(said), SchemeWrite::Written);
        QVERIFY2(said.isEmpty(), said.constData());

        const QByteArray longer = text + '\n';
        laptop::writeFile(QString::fromLatin1(configPath), longer);
        QCOMPARE(writeAcScheme(said), SchemeWrite::Failed);
        QCOMPARE(said, QByteArray("ovraapplet: Could not read file " + configPath +
                                  ": File too large\n"));
        QCOMPARE(laptop::readFile(QString::fromLatin1(configPath)), longer);
    }
};

QTEST_GUILESS_MAIN(TestFaultyFiles)
#include "tst_faultyfiles.moc"
