// SPDX-License-Identifier: GPL-2.0-or-later
// The display choice outlives the applet: kept in the configuration file the
// panel hands to the applet, it is the choice of the next applet given the
// same file, each file keeping its own; without a file, or with a folder
// that cannot be written, the gauge starts with the percentage as before.

#include "gaugeparts.h"
#include "laptopfixture.h"

#include "applet/graphframe.h"

#include <kpanelapplet.h>
#include <kpopupmenu.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

namespace {

// An applet holding a gauge, given the configuration file configFile.
struct Applet
{
    explicit Applet(const QString& configFile)
        : host(std::make_unique<KPanelApplet>(configFile)),
          frame(new GraphFrame(host.get(), "graph_frame"))
    {
    }
    void showTime() { QMetaObject::invokeMethod(frame, "slot_show_time"); }
    void showPercentage() { QMetaObject::invokeMethod(frame, "slot_show_percentage"); }
    // The gauge's choice as the submenu's check marks show it: exactly one
    // of them, the percentage's.
    bool showsPercentage() const
    {
        const KPopupMenu* menu = gaugeparts::displayMenu(frame);
        const bool perChecked = menu->isItemChecked(gaugeparts::showPercentageID(frame));
        const bool timeChecked = menu->isItemChecked(gaugeparts::showTimeID(frame));
        if (perChecked == timeChecked) {
            qWarning("check marks: percentage %d, time %d", perChecked, timeChecked);
        }
        return perChecked && !timeChecked;
    }

    std::unique_ptr<KPanelApplet> host;
    GraphFrame* frame;
};

QString configPath(const QString& name)
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(name);
}

} // namespace

class TestDisplayChoice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(laptop::inside()); }
    void init() { qunsetenv("XDG_CONFIG_HOME"); }

    void choiceIsKeptForTheNextApplet()
    {
        const QString name = QStringLiteral("ovraapplet_kept_rc");
        {
            Applet applet(name);
            QVERIFY(applet.showsPercentage());
            applet.showTime();
            QVERIFY(!applet.showsPercentage());
        }
        QVERIFY(laptop::readFile(configPath(name)).contains("[General]\nShowPercentage=false\n"));
        {
            Applet applet(name);
            QVERIFY(!applet.showsPercentage());
            applet.showPercentage();
        }
        QVERIFY(Applet(name).showsPercentage());
    }

    void twoAppletsKeepTwoChoices()
    {
        {
            Applet time(QStringLiteral("ovraapplet_time_rc"));
            Applet percentage(QStringLiteral("ovraapplet_percentage_rc"));
            time.showTime();
            percentage.showTime();
            percentage.showPercentage();
        }
        QVERIFY(!Applet(QStringLiteral("ovraapplet_time_rc")).showsPercentage());
        QVERIFY(Applet(QStringLiteral("ovraapplet_percentage_rc")).showsPercentage());
    }

    // Without a file the choice lives as long as the applet.
    void withoutFileTheChoiceEndsWithTheApplet()
    {
        Applet(QString()).showTime();
        QVERIFY(Applet(QString()).showsPercentage());
    }

    // A configuration folder that cannot be made (its parent is a file): the
    // choice holds for the applet's life, the next applet shows the
    // percentage, and nothing is written.
    void unwritableFolderLosesNothing()
    {
        const QString blocker = configPath(QStringLiteral("blocker"));
        laptop::writeFile(blocker, "a file\n");
        qputenv("XDG_CONFIG_HOME", (blocker + QStringLiteral("/config")).toUtf8());
        {
            Applet applet(QStringLiteral("ovraapplet_lost_rc"));
            applet.showTime();
            QVERIFY(!applet.showsPercentage());
            QMetaObject::invokeMethod(applet.frame, "transfer_draw_icon");
            QVERIFY(!applet.showsPercentage());
        }
        QVERIFY(Applet(QStringLiteral("ovraapplet_lost_rc")).showsPercentage());
        QCOMPARE(laptop::readFile(blocker), QByteArray("a file\n"));
    }
};

QTEST_MAIN(TestDisplayChoice)
#include "tst_displaychoice.moc"
