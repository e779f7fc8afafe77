// SPDX-License-Identifier: GPL-2.0-or-later
// The applet's factory: the battery-module check with its load attempts, the
// catalogue, the applet it creates and the configuration file's name it echoes.
// Each case needs its own laptop (with or without the module), so ctest runs
// them one by one by name.

#include "laptopfixture.h"
#include "streamcapture.h"

#include "applet/comm.h"
#include "applet/pmapplet.h"

#include <kglobal.h>
#include <klocale.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

#include <memory>

// The command line of the error dialog, as the applet hands it to the shell.
constexpr char strNoModuleDialogLine[] = "kdialog --title ovraapplet --error 'You have not "
                                         "installed battery module\nExit Program!'";

class TestFactory : public QObject
{
    Q_OBJECT

private:
    static QString behaviourFile(const QString& name)
    {
        return qEnvironmentVariable("LAPTOP_DIR") + QStringLiteral("/behave/") + name;
    }
    static QList<laptop::Call> insmodCalls() { return laptop::callsOf(QStringLiteral("insmod")); }
    // The factory called as the panel calls it: the applet (owned by the
    // caller), what it said on standard error and how long it took.
    struct Init
    {
        KPanelApplet* applet;
        QByteArray said;
        qint64 elapsed;
    };
    static Init timedInit()
    {
        QElapsedTimer clock;
        clock.start();
        StreamCapture err(STDERR_FILENO);
        KPanelApplet* applet = init(nullptr, QStringLiteral("ovraapplet_rc"));
        const QByteArray said = err.finish();
        return {applet, said, clock.elapsed()};
    }
    static void verifyInsmodCall(const laptop::Call& call)
    {
        QCOMPARE(call.shellCommand, QString::fromLatin1(m_strFileBatModule));
        QCOMPARE(call.args, QStringList{QStringLiteral("/opt/nexalt/install/batinfo.ko")});
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(laptop::inside()); }

    // The module is there from the start: no load, one second's pause, an applet.
    void moduleAtFirst()
    {
        QElapsedTimer clock;
        clock.start();
        StreamCapture out(STDOUT_FILENO);
        std::unique_ptr<KPanelApplet> applet(init(nullptr, QStringLiteral("ovraapplet_rc")));
        const QByteArray echoed = out.finish();
        const qint64 elapsed = clock.elapsed();

        QVERIFY(applet);
        QVERIFY(insmodCalls().isEmpty());
        QVERIFY2(elapsed >= 1000 && elapsed < 10000, QByteArray::number(elapsed));
        QCOMPARE(applet->objectName(), QStringLiteral("OvraIface"));
        QCOMPARE(applet->actions(), int(KPanelApplet::Preferences));
        QCOMPARE(applet->type(), KPanelApplet::Normal);
        QCOMPARE(applet->configFile(), QStringLiteral("ovraapplet_rc"));
        QCOMPARE(QString::fromLatin1(applet->metaObject()->className()),
                 QStringLiteral("OvraApplet"));
        QVERIFY(KGlobal::locale()->catalogues().contains(QStringLiteral("OvraIface")));
        QCOMPARE(echoed, QByteArray("ovraapplet_rc\n"));
    }

    // The name is printed as it is: never run by a shell, never cut, whatever its length.
    void configFileNamePrintedWhole()
    {
        const QString hostile = QString(300, QLatin1Char('a')) +
                                QStringLiteral("$(touch /tmp/dollar)`touch /tmp/tick`;touch "
                                               "/tmp/semicolon %s %n");
        StreamCapture out(STDOUT_FILENO);
        std::unique_ptr<KPanelApplet> applet(init(nullptr, hostile));
        const QByteArray echoed = out.finish();

        QVERIFY(applet);
        QCOMPARE(echoed, hostile.toLatin1() + '\n');
        for (const char* name : {"/tmp/dollar", "/tmp/tick", "/tmp/semicolon"}) {
            QVERIFY2(!QFileInfo::exists(QString::fromLatin1(name)), name);
        }
    }

    // The module never appears: ten loads a second apart, then the error dialog.
    void moduleNever()
    {
        QVERIFY(!QFileInfo::exists(QStringLiteral("/proc/H8")));
        laptop::setBehaviour(QStringLiteral("insmod"), 1);

        QElapsedTimer clock;
        clock.start();
        StreamCapture out(STDOUT_FILENO);
        KPanelApplet* applet = init(nullptr, QStringLiteral("ovraapplet_rc"));
        const QByteArray echoed = out.finish();
        const qint64 elapsed = clock.elapsed();

        QVERIFY(!applet);
        QVERIFY2(elapsed >= 10000 && elapsed < 30000, QByteArray::number(elapsed));
        const QList<laptop::Call> calls = laptop::calls();
        QCOMPARE(calls.size(), 11);
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(calls[i].program, QStringLiteral("insmod"));
            verifyInsmodCall(calls[i]);
        }
        const laptop::Call& dialog = calls.last();
        QCOMPARE(dialog.program, QStringLiteral("kdialog"));
        QCOMPARE(
            dialog.args,
            (QStringList{QStringLiteral("--title"), QStringLiteral("ovraapplet"),
                         QStringLiteral("--error"),
                         QStringLiteral("You have not installed battery module\nExit Program!")}));
        QVERIFY(KGlobal::locale()->catalogues().isEmpty());
        QVERIFY(echoed.isEmpty());
    }

    // The desktop has no kdialog: the same two lines in a Qt box, titled
    // like the dialog, with the critical icon; nothing is run in its place.
    void moduleNeverWithoutKdialog()
    {
        QVERIFY(!QFileInfo::exists(QStringLiteral("/proc/H8")));
        laptop::setBehaviour(QStringLiteral("insmod"), 1);
        const QString kdialog = QStandardPaths::findExecutable(QStringLiteral("kdialog"));
        QVERIFY(!kdialog.isEmpty() && QFile::remove(kdialog));
        QVERIFY(QStandardPaths::findExecutable(QStringLiteral("kdialog")).isEmpty());

        struct Box
        {
            QString title;
            QString text;
            QMessageBox::Icon icon;
        };
        QList<Box> boxes;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&boxes] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(window);
                if (!box || !box->isVisible()) {
                    continue;
                }
                boxes.append({box->windowTitle(), box->text(), box->icon()});
                box->button(QMessageBox::Ok)->click();
            }
        });
        closer.start(20);
        KPanelApplet* applet = init(nullptr, QStringLiteral("ovraapplet_rc"));
        closer.stop();

        QVERIFY(!applet);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.first().title, QStringLiteral("ovraapplet"));
        QCOMPARE(boxes.first().text,
                 QStringLiteral("You have not installed battery module\nExit Program!"));
        QCOMPARE(boxes.first().icon, QMessageBox::Critical);
        QCOMPARE(insmodCalls().size(), 10);
        QCOMPARE(laptop::calls().size(), 10);
        QVERIFY(KGlobal::locale()->catalogues().isEmpty());
    }

    // A load that never ends is ended with what it started at the check's
    // 30 s bound, the module then checked again: the panel is held up for
    // one bound, not for good.
    void moduleLoadHangs()
    {
        QVERIFY(!QFileInfo::exists(QStringLiteral("/proc/H8")));
        // The stand-in loads the module, then hangs for far longer than the bound.
        laptop::writeFile(behaviourFile(QStringLiteral("insmod")), "load_after=1\ndelay=90\n");

        QElapsedTimer clock;
        clock.start();
        StreamCapture err(STDERR_FILENO);
        std::unique_ptr<KPanelApplet> applet(init(nullptr, QStringLiteral("ovraapplet_rc")));
        const QByteArray said = err.finish();
        const qint64 elapsed = clock.elapsed();

        QVERIFY(applet);
        QVERIFY2(elapsed >= 30000 && elapsed < 60000, QByteArray::number(elapsed));
        QVERIFY2(said.contains(QByteArray("ended: ") + m_strFileBatModule), said.constData());
        QCOMPARE(laptop::processesWith("insmod"), QStringList());
        QVERIFY(laptop::callsOf(QStringLiteral("kdialog")).isEmpty());
    }

    // Loads that hang and never load the module: the whole check, not each
    // load, is bounded to about half a minute, as a person waits at login;
    // the hung load is ended with what it started; then the error dialog.
    void moduleNeverLoadsHang()
    {
        QVERIFY(!QFileInfo::exists(QStringLiteral("/proc/H8")));
        laptop::writeFile(behaviourFile(QStringLiteral("insmod")), "load_after=99\ndelay=90\n");

        const auto [applet, said, elapsed] = timedInit();

        QVERIFY(!applet);
        QVERIFY2(elapsed >= 30000 && elapsed < 40000, QByteArray::number(elapsed));
        QVERIFY2(said.contains(QByteArray("ended: ") + m_strFileBatModule), said.constData());
        QCOMPARE(laptop::processesWith("insmod"), QStringList());
        QCOMPARE(laptop::processesWith("sleep 90"), QStringList());
        // The hung load was ended before its stand-in logged it: the dialog alone.
        QCOMPARE(laptop::callSummary(),
                 QStringList{QStringLiteral("kdialog --title ovraapplet --error You have not "
                                            "installed battery module\nExit Program!")});
        QVERIFY(KGlobal::locale()->catalogues().isEmpty());
    }

    // An error dialog left open holds the panel up for one bound, not until
    // the user closes it: given up on after 30 s, said on standard error.
    void moduleNeverDialogLeftOpen()
    {
        QVERIFY(!QFileInfo::exists(QStringLiteral("/proc/H8")));
        laptop::setBehaviour(QStringLiteral("insmod"), 1);
        laptop::writeFile(behaviourFile(QStringLiteral("kdialog")), "delay=90\n");

        const auto [applet, said, elapsed] = timedInit();

        QVERIFY(!applet);
        // Ten loads a second apart, then the dialog's bound.
        QVERIFY2(elapsed >= 40000 && elapsed < 70000, QByteArray::number(elapsed));
        QCOMPARE(said,
                 QByteArray("ovraapplet: command did not finish within 30 s, left running: ") +
                     strNoModuleDialogLine + '\n');
        QCOMPARE(insmodCalls().size(), 10);
        QVERIFY(KGlobal::locale()->catalogues().isEmpty());
    }

    // The module appears with the third load: three loads, then the applet.
    void moduleAfterThirdLoad()
    {
        QVERIFY(!QFileInfo::exists(QStringLiteral("/proc/H8")));
        laptop::writeFile(behaviourFile(QStringLiteral("insmod")), "load_after=3\n");

        QElapsedTimer clock;
        clock.start();
        std::unique_ptr<KPanelApplet> applet(init(nullptr, QStringLiteral("ovraapplet_rc")));
        const qint64 elapsed = clock.elapsed();

        QVERIFY(applet);
        const QList<laptop::Call> calls = insmodCalls();
        QCOMPARE(calls.size(), 3);
        for (const laptop::Call& call : calls) {
            verifyInsmodCall(call);
        }
        QVERIFY(laptop::callsOf(QStringLiteral("kdialog")).isEmpty());
        // Three pauses after the loads and one after the successful test.
        QVERIFY2(elapsed >= 4000 && elapsed < 20000, QByteArray::number(elapsed));
    }
};

QTEST_MAIN(TestFactory)
#include "tst_factory.moc"
