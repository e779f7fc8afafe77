// SPDX-License-Identifier: GPL-2.0-or-later
// The gauge's left menu: its layout, the check mark on the scheme in force,
// switching the scheme of the current power source in the daemon's
// configuration, and what must never touch the configuration.

#include "gaugehost.h"
#include "gaugeparts.h"
#include "laptopfixture.h"
#include "menudump.h"
#include "schememenuhost.h"

#include "applet/graphframe.h"

#include <kglobal.h>
#include <klocale.h>
#include <kpanelapplet.h>
#include <kpopupmenu.h>

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include <memory>

#include <unistd.h>

namespace {

const QString configPath = QStringLiteral("/etc/sysconfig/powersave/common");
const QString schemeDir = QStringLiteral("/opt/nexalt/pm/scheme/");
const QString reloadCommand = QStringLiteral("/etc/init.d/powersave reload &>/dev/null");
const QString restartCommand = QStringLiteral("/opt/nexalt/pm/idletime.sh restart &>/dev/null");
const QStringList fixedTail = {QStringLiteral("---"), QStringLiteral("show >"),
                               QStringLiteral("---"), QStringLiteral("Launch Power Manager ...")};
const QString title = QStringLiteral("title: Ovra- Ovra Tools");

using Schemes = QList<QPair<QString, int>>; // name and size in bytes

void setSchemes(const Schemes& schemes)
{
    QDir dir(schemeDir);
    for (const QString& entry : dir.entryList(QDir::Files | QDir::System | QDir::Hidden)) {
        QFile::remove(dir.filePath(entry));
    }
    for (const auto& scheme : schemes) {
        laptop::writeFile(schemeDir + QStringLiteral("scheme_") + scheme.first,
                          QByteArray(scheme.second, '#'));
    }
}

// A configuration written by hand: comment blocks that name the keys, bytes
// of ISO 8859-1, a carriage return, and no line feed after the last line.
const QByteArray realisticConfig =
    "## Path:\tSystem/Powermanagement/Powersave\n"
    "## Description:\tEinstellungen f\xfcr den Energiesparmodus (r\xe9sum\xe9)\n"
    "#\n"
    "# BATTERY_SCHEME names the scheme used on battery. \xa9 Nexalt\n"
    "  # BATTERY_SCHEME=\"acoustic\" was the old choice\n"
    "POWERSAVE_DEBUG_SYSLOG=\"yes\"\n"
    "\n"
    "AC_SCHEME=\"performance\"\n"
    "BATTERY_SCHEME=\"powersave\"\n"
    "POWERSAVE_NOTE=\"caf\xe9 \xbd\"\r\n"
    "POWERSAVE_USER_SCHEME_CHANGE=\"no\"";

// Gives the configuration an old time stamp, so that any rewrite shows.
QDateTime ageConfig()
{
    QFile file(configPath);
    const QDateTime old(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    if (!file.open(QIODevice::ReadWrite) ||
        !file.setFileTime(old, QFileDevice::FileModificationTime)) {
        qFatal("cannot age the configuration");
    }
    return old;
}

QDateTime configTime()
{
    return QFileInfo(configPath).fileTime(QFileDevice::FileModificationTime);
}

} // namespace

// The gauge in a bare applet, on the laptop's default machine with a
// hand-written configuration.
class SchemeMenuFixture : public QObject, protected GaugeHost
{
    Q_OBJECT

protected:
    void makeGauge()
    {
        GaugeHost::makeGauge(150);
        laptop::clearCalls();
    }
    KPopupMenu* menu() const { return m_frame->leftMenu(); }
    void choose(const QString& text)
    {
        const int id = menuId(menu(), text);
        QVERIFY2(id != -1, qPrintable(text));
        menu()->actionForId(id)->trigger();
    }
    void leftClick()
    {
        QTest::mousePress(m_frame, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
        QVERIFY(menu()->isVisible());
        menu()->hide();
    }
    // What a choice must leave: the configuration as it was, no command run.
    void verifyNothingChanged(const QByteArray& config, const QDateTime& time)
    {
        QCOMPARE(laptop::readFile(configPath), config);
        QCOMPARE(configTime(), time);
        QCOMPARE(laptop::shellCommands(), QStringList());
    }

    void resetLaptop()
    {
        laptop::battery(0, {QStringLiteral("present=yes"), QStringLiteral("ac=yes"),
                            QStringLiteral("charge=87"), QStringLiteral("readable=yes")});
        laptop::writeFile(configPath, realisticConfig);
        setSchemes({{QStringLiteral("performance"), 180},
                    {QStringLiteral("powersave"), 147},
                    {QStringLiteral("presentation"), 172},
                    {QStringLiteral("nexalt_quiet"), 30}});
    }
};

class TestSchemeMenu : public SchemeMenuFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(laptop::inside()); }
    void init() { resetLaptop(); }
    void cleanup() { m_host.reset(); }

    void layout_data()
    {
        QTest::addColumn<Schemes>("schemes");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("no scheme files") << Schemes{} << QStringList{};
        QTest::newRow("smallest first")
            << Schemes{{QStringLiteral("big"), 300},
                       {QStringLiteral("small"), 100},
                       {QStringLiteral("middle"), 200}}
            << QStringList{QStringLiteral("small"), QStringLiteral("middle"),
                           QStringLiteral("big")};
        QTest::newRow("equal sizes: names descending")
            << Schemes{{QStringLiteral("alpha"), 50},
                       {QStringLiteral("gamma"), 50},
                       {QStringLiteral("beta"), 50}}
            << QStringList{QStringLiteral("gamma"), QStringLiteral("beta"),
                           QStringLiteral("alpha")};
        QTest::newRow("names that break the key line are left out")
            << Schemes{{QStringLiteral("quote\"d"), 10},
                       {QStringLiteral("two\nlines"), 20},
                       {QStringLiteral("dollar$x"), 30},
                       {QStringLiteral("fine"), 40}}
            << QStringList{QStringLiteral("fine")};
    }
    void layout()
    {
        QFETCH(Schemes, schemes);
        QFETCH(QStringList, entries);
        setSchemes(schemes);
        makeGauge();
        QCOMPARE(menuLines(menu()), QStringList{title} + entries + fixedTail);
        QCOMPARE(menu()->objectName(), QStringLiteral("main_menu"));
        QCOMPARE(gaugeparts::schemeEntryIds(m_frame).size(), entries.size());
        QCOMPARE(gaugeparts::firstSchemePosition(m_frame), 1);
        QCOMPARE(gaugeparts::displayMenu(m_frame)->objectName(), QStringLiteral("show"));
        QCOMPARE(menuLines(gaugeparts::displayMenu(m_frame)),
                 (QStringList{QStringLiteral("[x] remaining percentage"),
                              QStringLiteral("remaining time when use battery")}));
        // A refresh keeps the entries between the title and the first separator.
        leftClick();
        QCOMPARE(menuLines(menu()), QStringList{title} + entries + fixedTail);
    }

    void laptopSchemes()
    {
        makeGauge();
        const QStringList entries{QStringLiteral("nexalt_quiet"), QStringLiteral("powersave"),
                                  QStringLiteral("presentation"),
                                  QStringLiteral("[x] performance")};
        QCOMPARE(menuLines(menu()), QStringList{title} + entries + fixedTail);
    }

    void otherDirectoryEntries()
    {
        setSchemes({{QStringLiteral("plain"), 10}});
        QDir(schemeDir).mkdir(QStringLiteral("scheme_folder"));
        QFile::link(schemeDir + QStringLiteral("scheme_plain"),
                    schemeDir + QStringLiteral("scheme_link"));
        laptop::writeFile(schemeDir + QStringLiteral("other_file"), "x");
        laptop::writeFile(schemeDir + QStringLiteral(".scheme_hidden"), "x");
        // The pattern scheme_* is matched with case, as the shell does.
        for (const char* other : {"SCHEME_foo", "Scheme_bar", "Scheme_old_scheme_x"}) {
            laptop::writeFile(schemeDir + QLatin1String(other), "x");
        }
        makeGauge();
        QCOMPARE(menuLines(menu()), (QStringList{title, QStringLiteral("plain")} + fixedTail));
        QDir(schemeDir).removeRecursively();
        makeGauge();
        QCOMPARE(menuLines(menu()), QStringList{title} + fixedTail);
        QDir().mkpath(schemeDir);
    }

    // More schemes than the 20 slots: the 20 smallest are offered.
    void moreThanTwentySchemes()
    {
        Schemes schemes;
        QStringList first;
        for (int i = 25; i >= 1; --i) {
            const QString name = QStringLiteral("s%1").arg(i, 2, 10, QLatin1Char('0'));
            schemes << qMakePair(name, i * 10);
            if (i <= 20) {
                first.prepend(name);
            }
        }
        setSchemes(schemes);
        makeGauge();
        QCOMPARE(gaugeparts::schemeEntryIds(m_frame).size(), 20);
        QCOMPARE(menuLines(menu()), QStringList{title} + first + fixedTail);
        leftClick();
        QCOMPARE(menuLines(menu()), QStringList{title} + first + fixedTail);
    }

    void checkMark_data()
    {
        QTest::addColumn<QStringList>("battery");
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QString>("marked"); // empty: none
        const QStringList mains{QStringLiteral("ac=yes")};
        const QStringList onBattery{QStringLiteral("ac=no")};
        const QByteArray both = "AC_SCHEME=\"performance\"\nBATTERY_SCHEME=\"powersave\"\n";
        QTest::newRow("mains") << mains << both << QStringLiteral("performance");
        QTest::newRow("mains, full")
            << QStringList{QStringLiteral("ac=yes"), QStringLiteral("charge=100")} << both
            << QStringLiteral("performance");
        QTest::newRow("battery") << onBattery << both << QStringLiteral("powersave");
        QTest::newRow("battery without its key: default performance")
            << onBattery << QByteArray("AC_SCHEME=\"presentation\"\n")
            << QStringLiteral("performance");
        QTest::newRow("mains without its key: default 'powersave")
            << mains << QByteArray("BATTERY_SCHEME=\"presentation\"\n") << QString();
        QTest::newRow("empty value: default")
            << onBattery << QByteArray("BATTERY_SCHEME=\"\"\n") << QStringLiteral("performance");
        QTest::newRow("commented key above the assignment")
            << mains
            << QByteArray("# AC_SCHEME=\"powersave\" was the old value\n"
                          "  #AC_SCHEME=\"nexalt_quiet\"\nAC_SCHEME=\"presentation\"\n")
            << QStringLiteral("presentation");
        // The mark shows the scheme in force: the value bash is left with.
        QTest::newRow("the last key line wins, as for bash")
            << mains << QByteArray("AC_SCHEME=\"nexalt_quiet\"\nAC_SCHEME=\"powersave\"\n")
            << QStringLiteral("powersave");
        QTest::newRow("a key line inside a multi-line value is none")
            << mains
            << QByteArray(
                   "AC_SCHEME=\"presentation\"\nNOTE=\"set by hand:\nAC_SCHEME=powersave\n\"\n")
            << QStringLiteral("presentation");
        QTest::newRow("carriage returns")
            << onBattery << QByteArray("BATTERY_SCHEME=\"presentation\"\r\n")
            << QStringLiteral("presentation");
        QTest::newRow("no status: battery row")
            << QStringList{QStringLiteral("readable=no")}
            << QByteArray("AC_SCHEME=\"performance\"\nBATTERY_SCHEME=\"presentation\"\n")
            << QStringLiteral("presentation");
    }
    void checkMark()
    {
        QFETCH(QStringList, battery);
        QFETCH(QByteArray, config);
        QFETCH(QString, marked);
        laptop::battery(0, battery);
        laptop::writeFile(configPath, config);
        makeGauge();
        QStringList checked;
        for (const QString& line : menuLines(menu())) {
            if (line.startsWith(QLatin1String("[x] "))) {
                checked << line.mid(4);
            }
        }
        QCOMPARE(checked, marked.isEmpty() ? QStringList() : QStringList{marked});
        QCOMPARE(gaugeparts::markedSchemeId(m_frame),
                 marked.isEmpty() ? 100 : menuId(menu(), marked));
    }

    void unreadableConfigGivesDefault()
    {
        QFile::remove(configPath);
        QDir().mkdir(configPath); // opens, but not as a file
        laptop::mains(false);
        makeGauge();
        QCOMPARE(SchemeMenuHost().menu.currentScheme(), QStringLiteral("performance"));
        QVERIFY(menu()->isItemChecked(menuId(menu(), QStringLiteral("performance"))));
        QDir().rmdir(configPath);
    }

    // On the battery only BATTERY_SCHEME changes; every other byte stays,
    // comments that name the key included; then the reload and the
    // idle-time restart run, in this order, and nothing else.
    void chooseOnBattery()
    {
        laptop::mains(false);
        makeGauge();
        QVERIFY(menu()->isItemChecked(menuId(menu(), QStringLiteral("powersave"))));
        choose(QStringLiteral("presentation"));

        QByteArray expected = realisticConfig;
        expected.replace("BATTERY_SCHEME=\"powersave\"\n", "BATTERY_SCHEME=\"presentation\"\n");
        QCOMPARE(laptop::readFile(configPath), expected);
        QCOMPARE(laptop::shellCommands(), (QStringList{reloadCommand, restartCommand}));
        const QList<laptop::Call> calls = laptop::calls();
        QCOMPARE(calls[0].program, QStringLiteral("/etc/init.d/powersave"));
        QCOMPARE(calls[0].args, QStringList{QStringLiteral("reload")});
        QCOMPARE(calls[1].program, QStringLiteral("/opt/nexalt/pm/idletime.sh"));
        QCOMPARE(calls[1].args, QStringList{QStringLiteral("restart")});
        QVERIFY(menu()->isItemChecked(menuId(menu(), QStringLiteral("presentation"))));
        QVERIFY(!menu()->isItemChecked(menuId(menu(), QStringLiteral("powersave"))));
    }

    // A reload that fails is not followed by a start of the daemon.
    void chooseOnMainsWithFailingReload()
    {
        laptop::setBehaviour(QStringLiteral("powersave.reload"), 1);
        makeGauge();
        choose(QStringLiteral("nexalt_quiet"));
        QByteArray expected = realisticConfig;
        expected.replace("AC_SCHEME=\"performance\"", "AC_SCHEME=\"nexalt_quiet\"");
        QCOMPARE(laptop::readFile(configPath), expected);
        QCOMPARE(laptop::shellCommands(), (QStringList{reloadCommand, restartCommand}));
        laptop::setBehaviour(QStringLiteral("powersave.reload"), 0);
    }

    // The published scheme functions on the gauge: the scheme in force as the
    // menu reads it, an entry chosen by id as by the user, a scheme set by
    // name.
    void publishedInterface()
    {
        laptop::mains(false);
        makeGauge();
        QCOMPARE(m_frame->get_CurScheme(), QStringLiteral("powersave"));
        m_frame->ChangeSchemeSel(menuId(menu(), QStringLiteral("presentation")));
        QCOMPARE(m_frame->get_CurScheme(), QStringLiteral("presentation"));
        QCOMPARE(gaugeparts::markedSchemeId(m_frame),
                 menuId(menu(), QStringLiteral("presentation")));
        m_frame->changeScheme(QStringLiteral("nexalt_quiet"));
        QByteArray expected = realisticConfig;
        expected.replace("BATTERY_SCHEME=\"powersave\"\n", "BATTERY_SCHEME=\"nexalt_quiet\"\n");
        QCOMPARE(laptop::readFile(configPath), expected);
        QCOMPARE(m_frame->get_CurScheme(), QStringLiteral("nexalt_quiet"));
        QCOMPARE(laptop::shellCommands(),
                 (QStringList{reloadCommand, restartCommand, reloadCommand, restartCommand}));
    }

    // The scheme in force matches no entry: the user's first choice is applied.
    void firstChoiceWithoutMark()
    {
        laptop::writeFile(configPath, "AC_SCHEME=\"retired\"\n");
        makeGauge();
        QCOMPARE(gaugeparts::markedSchemeId(m_frame), 100);
        choose(QStringLiteral("powersave"));
        QCOMPARE(laptop::readFile(configPath), QByteArray("AC_SCHEME=\"powersave\"\n"));
        QCOMPARE(laptop::shellCommands(), (QStringList{reloadCommand, restartCommand}));
    }

    // The mark follows the file: a choice the file could not take (no line
    // for the key) leaves it where it was, though the reload runs.
    void choiceNotSavedLeavesTheMark()
    {
        laptop::writeFile(configPath, "BATTERY_SCHEME=\"powersave\"\n");
        makeGauge();
        laptop::mains(false);
        m_frame->make_lmenu(false);
        QCOMPARE(gaugeparts::markedSchemeId(m_frame), menuId(menu(), QStringLiteral("powersave")));
        laptop::mains(true);
        choose(QStringLiteral("presentation"));
        QCOMPARE(laptop::readFile(configPath), QByteArray("BATTERY_SCHEME=\"powersave\"\n"));
        QCOMPARE(laptop::shellCommands(), (QStringList{reloadCommand, restartCommand}));
        QVERIFY(!menu()->isItemChecked(menuId(menu(), QStringLiteral("presentation"))));
    }

    // Choices that are no change of scheme leave everything alone.
    void choicesThatChangeNothing()
    {
        setSchemes({{QStringLiteral("performance"), 180}, {QStringLiteral("showcase"), 50}});
        makeGauge();
        const QDateTime old = ageConfig();

        choose(QStringLiteral("performance")); // already marked
        verifyNothingChanged(realisticConfig, old);
        QVERIFY(menu()->isItemChecked(menuId(menu(), QStringLiteral("performance"))));
        choose(QStringLiteral("performance"));
        QVERIFY(menu()->isItemChecked(menuId(menu(), QStringLiteral("performance"))));
        leftClick();
        QVERIFY(menu()->isItemChecked(menuId(menu(), QStringLiteral("performance"))));
        verifyNothingChanged(realisticConfig, old);
        choose(QStringLiteral("showcase")); // holds "show"
        verifyNothingChanged(realisticConfig, old);
        QVERIFY(!menu()->isItemChecked(menuId(menu(), QStringLiteral("showcase"))));

        // The title and the fixed entries, as the menu reports them, and an unknown id.
        for (int i = 0; i < menu()->count(); ++i) {
            const int id = menu()->idAt(i);
            const QString text = menu()->text(id);
            if (id == -1 || text == QLatin1String("performance") ||
                text == QLatin1String("showcase")) {
                continue;
            }
            QMetaObject::invokeMethod(m_frame, "slot_scheme_click", Q_ARG(int, id));
        }
        QMetaObject::invokeMethod(m_frame, "slot_scheme_click", Q_ARG(int, 4711));
        verifyNothingChanged(realisticConfig, old);
    }

    // Opening the menu only reads: no rewrite, no reload, even when another
    // program changed the scheme meanwhile (the mark just moves).
    void openingTheMenuWritesNothing()
    {
        makeGauge();
        const QDateTime old = ageConfig();
        leftClick();
        leftClick();
        verifyNothingChanged(realisticConfig, old);

        QByteArray changed = realisticConfig;
        changed.replace("AC_SCHEME=\"performance\"", "AC_SCHEME=\"presentation\"");
        laptop::writeFile(configPath, changed);
        const QDateTime older = ageConfig();
        leftClick();
        verifyNothingChanged(changed, older);
        QVERIFY(menu()->isItemChecked(menuId(menu(), QStringLiteral("presentation"))));
        QVERIFY(!menu()->isItemChecked(menuId(menu(), QStringLiteral("performance"))));
    }

    void displayEntries()
    {
        makeGauge();
        KPopupMenu* show = gaugeparts::displayMenu(m_frame);
        QMetaObject::invokeMethod(m_frame, "slot_show_time");
        QVERIFY(show->isItemChecked(gaugeparts::showTimeID(m_frame)));
        QVERIFY(!show->isItemChecked(gaugeparts::showPercentageID(m_frame)));
        QMetaObject::invokeMethod(m_frame, "slot_show_time");
        QVERIFY(show->isItemChecked(gaugeparts::showTimeID(m_frame)));
        QVERIFY(!show->isItemChecked(gaugeparts::showPercentageID(m_frame)));
        leftClick();
        QVERIFY(show->isItemChecked(gaugeparts::showTimeID(m_frame)));

        // Built anew, the submenu marks the choice in force.
        m_frame->make_lmenu(true);
        QCOMPARE(gaugeparts::displayMenu(m_frame), show);
        QCOMPARE(menuLines(show),
                 (QStringList{QStringLiteral("remaining percentage"),
                              QStringLiteral("[x] remaining time when use battery")}));
        QCOMPARE(menuLines(menu()).size(), 1 + 4 + fixedTail.size());

        show->actionForId(gaugeparts::showPercentageID(m_frame))->trigger();
        QVERIFY(gaugeparts::showsPercentage(m_frame));
        QVERIFY(show->isItemChecked(gaugeparts::showPercentageID(m_frame)));
        QVERIFY(!show->isItemChecked(gaugeparts::showTimeID(m_frame)));
        QCOMPARE(laptop::shellCommands(), QStringList());
    }
};

// Run by the configuration's owner, who may write it but not read it.
class TestUnreadableConfig : public SchemeMenuFixture
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { m_host.reset(); }

    // Run as the configuration's owner without read permission: the file
    // cannot be read, so it is not replaced; the commands still run.
    void unreadableConfigLeftUntouched()
    {
        QVERIFY(getuid() != 0);
        const qint64 size = QFileInfo(configPath).size();
        QVERIFY(size > 0);
        QFile probe(configPath);
        QVERIFY(!probe.open(QIODevice::ReadOnly));
        laptop::battery(0, {QStringLiteral("ac=no")});
        makeGauge();
        QCOMPARE(SchemeMenuHost().menu.currentScheme(), QStringLiteral("performance"));
        // Not root and no polkit to authorise the switch: nothing is written
        // or run, and the mark stays where it was.
        choose(QStringLiteral("presentation"));
        QTRY_VERIFY(!gaugeparts::switchingScheme(m_frame));
        QCOMPARE(QFileInfo(configPath).size(), size);
        QCOMPARE(laptop::shellCommands(), QStringList());
        QVERIFY(!menu()->isItemChecked(menuId(menu(), QStringLiteral("presentation"))));
    }
};

// Run with LANGUAGE=de.
class TestGermanMenus : public SchemeMenuFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { resetLaptop(); }
    void cleanup() { m_host.reset(); }

    // Under a German catalogue the menus read German, and the translated
    // fixed entries are no schemes either.
    void germanMenus()
    {
        QVERIFY(!qEnvironmentVariable("LANGUAGE").isEmpty());
        KGlobal::locale()->insertCatalogue(QStringLiteral("OvraIface"));
        // A second applet in the same panel adds its catalogue after ours.
        KGlobal::locale()->insertCatalogue(QStringLiteral("ovradesktopother"));
        makeGauge();
        QCOMPARE(
            menuLines(menu()),
            (QStringList{QStringLiteral("title: Ovra- Ovra-Werkzeuge"),
                         QStringLiteral("nexalt_quiet"), QStringLiteral("powersave"),
                         QStringLiteral("presentation"), QStringLiteral("[x] performance"),
                         QStringLiteral("---"), QStringLiteral("Anzeige >"), QStringLiteral("---"),
                         QStringLiteral("Energieverwaltung starten ...")}));
        QCOMPARE(menuLines(gaugeparts::displayMenu(m_frame)),
                 (QStringList{QStringLiteral("[x] verbleibende Ladung in Prozent"),
                              QStringLiteral("verbleibende Zeit im Akkubetrieb")}));
        QCOMPARE(menuLines(gaugeparts::secondMenu(m_frame)),
                 QStringList{QStringLiteral("&Beenden")});
        QMetaObject::invokeMethod(m_frame, "transfer_draw_icon");
        QCOMPARE(m_frame->toolTip(), QStringLiteral("wird geladen -- 0 : 14 -- 87 %"));
        laptop::mains(false);
        QMetaObject::invokeMethod(m_frame, "transfer_draw_icon");
        QCOMPARE(m_frame->toolTip(), QStringLiteral("Akkubetrieb -- 2 : 07 -- 87 %"));
        QCOMPARE(battery::statusText(gaugeparts::readingsOf(0).status),
                 QStringLiteral("Akkubetrieb"));
        laptop::mains(true);

        const QDateTime old = ageConfig();
        laptop::clearCalls();
        for (const QString& fixed :
             {QStringLiteral("Anzeige"), QStringLiteral("Energieverwaltung starten ...")}) {
            const int id = menuId(menu(), fixed);
            QVERIFY2(id != -1, qPrintable(fixed));
            QMetaObject::invokeMethod(m_frame, "slot_scheme_click", Q_ARG(int, id));
        }
        for (int id : {gaugeparts::showPercentageID(m_frame), gaugeparts::showTimeID(m_frame)}) {
            QMetaObject::invokeMethod(m_frame, "slot_scheme_click", Q_ARG(int, id));
        }
        verifyNothingChanged(realisticConfig, old);

        // Choosing a scheme still works, and writes the untranslated syntax.
        choose(QStringLiteral("presentation"));
        QByteArray expected = realisticConfig;
        expected.replace("AC_SCHEME=\"performance\"", "AC_SCHEME=\"presentation\"");
        QCOMPARE(laptop::readFile(configPath), expected);
        KGlobal::locale()->removeCatalogue(QStringLiteral("ovradesktopother"));
        KGlobal::locale()->removeCatalogue(QStringLiteral("OvraIface"));
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QByteArray which = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (which == "--unreadable-config") {
        TestUnreadableConfig test;
        return QTest::qExec(&test, 1, argv);
    }
    if (which == "--german") {
        TestGermanMenus test;
        return QTest::qExec(&test, 1, argv);
    }
    TestSchemeMenu test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_schememenu.moc"
