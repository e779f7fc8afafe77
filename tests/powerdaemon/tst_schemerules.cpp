// SPDX-License-Identifier: GPL-2.0-or-later
// What the popup and the applet each know of the daemon, where they differ on
// purpose, and the report the switch helper gives its caller.
#include "powerdaemon/configtext.h"
#include "powerdaemon/helpercall.h"
#include "powerdaemon/powersavedaemon.h"
#include "powerdaemon/schemerules.h"
#include "powerdaemon/switchreport.h"

#include <QTest>

#include <fstream>

#include <unistd.h>

using powerdaemon::Rules;

class TestSchemeRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void popupAndAppletDifferOnPurpose();
    void listing();
    void safeNames();
    void reportsReadBackAsWritten();
    void callersOfTheHelper();
    void substitutionsSpanLines();
};

void TestSchemeRules::popupAndAppletDifferOnPurpose()
{
    // Reading: the popup takes the last non-empty value, the applet what
    // bash is left with, the last value even when empty; an expansion is
    // nothing either can know.
    const std::string text = "AC_SCHEME=\"first\"\nAC_SCHEME=\"last\"\nAC_SCHEME=\"\"\n"
                             "BATTERY_SCHEME=$X\n";
    QCOMPARE(powerdaemon::readSchemeKey(Rules::Popup, text, "AC_SCHEME"), std::string("last"));
    QCOMPARE(powerdaemon::readSchemeKey(Rules::Applet, text, "AC_SCHEME"), std::string());
    QCOMPARE(powerdaemon::readSchemeKey(Rules::Applet, "AC_SCHEME=a\nAC_SCHEME=b\n", "AC_SCHEME"),
             std::string("b"));
    QCOMPARE(powerdaemon::readSchemeKey(Rules::Popup, text, "BATTERY_SCHEME"), std::string());
    QCOMPARE(powerdaemon::readSchemeKey(Rules::Applet, text, "BATTERY_SCHEME"), std::string());

    // Commands: the popup's with a start after a failed reload, the applet's
    // own init script and spacing, never a start.
    const auto popup = powerdaemon::switchCommands(Rules::Popup);
    QCOMPARE(popup.reload, "/etc/init.d/powersaved reload &>/dev/null");
    QCOMPARE(popup.startAfterFailedReload, "/etc/init.d/powersaved start &>/dev/null");
    QCOMPARE(popup.idletimeRestart, "/opt/nexalt/pm/idletime.sh restart &> /dev/null");
    const auto applet = powerdaemon::switchCommands(Rules::Applet);
    QCOMPARE(applet.reload, "/etc/init.d/powersave reload &>/dev/null");
    QVERIFY(applet.startAfterFailedReload == nullptr);
    QCOMPARE(applet.idletimeRestart, "/opt/nexalt/pm/idletime.sh restart &>/dev/null");

    // A failed write stops the popup's switch; the applet's commands run.
    QVERIFY(!powerdaemon::commandsRunAfterFailedWrite(Rules::Popup));
    QVERIFY(powerdaemon::commandsRunAfterFailedWrite(Rules::Applet));

    QCOMPARE(powerdaemon::rulesNamed(powerdaemon::rulesName(Rules::Popup)), Rules::Popup);
    QCOMPARE(powerdaemon::rulesNamed(powerdaemon::rulesName(Rules::Applet)), Rules::Applet);
    QVERIFY(!powerdaemon::rulesNamed("Popup"));
}

void TestSchemeRules::listing()
{
    // On the simulated laptop: "acoustic" is the daemon's alone,
    // "nexalt_quiet" the product's alone, "powersave" in both folders.
    QVERIFY(powerdaemon::isListedScheme(Rules::Popup, "powersave"));
    QVERIFY(!powerdaemon::isListedScheme(Rules::Popup, "acoustic"));
    QVERIFY(!powerdaemon::isListedScheme(Rules::Popup, "nexalt_quiet"));
    QVERIFY(powerdaemon::isListedScheme(Rules::Applet, "nexalt_quiet"));
    QVERIFY(!powerdaemon::isListedScheme(Rules::Applet, "acoustic"));
    // The applet lists regular files only; the popup any entry.
    const std::string link = std::string(powerdaemon::ProductSchemePrefix) + "linked";
    QCOMPARE(::symlink("scheme_powersave", link.c_str()), 0);
    const std::string daemons = std::string(powerdaemon::SchemeDir) + "scheme_linked";
    std::ofstream(daemons).put('\n');
    QVERIFY(!powerdaemon::isListedScheme(Rules::Applet, "linked"));
    QVERIFY(powerdaemon::isListedScheme(Rules::Popup, "linked"));
}

void TestSchemeRules::safeNames()
{
    for (const char* name : {"powersave", "nexalt_quiet", "a.b-c+d", "X1", ""}) {
        QVERIFY2(powerdaemon::isSafeSchemeName(name), name);
    }
    for (const char* name : {"..", "a..b", "a/b", "a b", "x;id", "$(id)", "`id`", "a\"b", "a'b",
                             "a\\b", "a\nb", "-\t", "caf\xc3\xa9", "a*"}) {
        QVERIFY2(!powerdaemon::isSafeSchemeName(name), name);
    }
}

void TestSchemeRules::reportsReadBackAsWritten()
{
    using Report = powerdaemon::SwitchReport;
    Report applied;
    applied.commandsRan = true;
    applied.accepted = true;
    Report refusedDaemon = applied;
    refusedDaemon.accepted = false;
    refusedDaemon.stillRunning = {"/etc/init.d/powersaved start &>/dev/null"};
    Report failed;
    failed.saved = Report::Saved::Failed;
    failed.reason = "Could not rename file x:\tRead-only\nfile system";
    Report noKey = applied;
    noKey.saved = Report::Saved::NoKey;
    Report refused;
    refused.refused = true;
    refused.reason = "no such scheme: x";
    const std::pair<Report, powerdaemon::SwitchOutcome> cases[] = {
        {applied, powerdaemon::SwitchOutcome::Applied},
        {refusedDaemon, powerdaemon::SwitchOutcome::NotApplied},
        {failed, powerdaemon::SwitchOutcome::NotSaved},
        {noKey, powerdaemon::SwitchOutcome::NotSaved},
        {refused, powerdaemon::SwitchOutcome::Refused}};
    for (const auto& [report, outcome] : cases) {
        QCOMPARE(report.outcome(), outcome);
        const auto back = Report::fromText(report.toText());
        QVERIFY(back);
        QCOMPARE(back->toText(), report.toText());
        QCOMPARE(back->outcome(), outcome);
        QCOMPARE(back->stillRunning, report.stillRunning);
    }
    // A reason stays on its line; nothing of it reads as another fact.
    QCOMPARE(Report::fromText(failed.toText())->reason,
             std::string("Could not rename file x: Read-only file system"));
    // pkexec's own words are no report.
    QVERIFY(!Report::fromText("Error executing command as another user: Not authorized\n"));
    QVERIFY(!Report::fromText(""));
}

void TestSchemeRules::callersOfTheHelper()
{
    // pkexec gets the same arguments from both programs but for their rules:
    // a desktop agent only, then the helper, the rules, the key and the name.
    using Arguments = std::vector<std::string>;
    QCOMPARE(powerdaemon::pkexecArguments(Rules::Popup, "AC_SCHEME", "power save"),
             (Arguments{"--disable-internal-agent", "/usr/libexec/ovra/ovra-switch-scheme", "popup",
                        "AC_SCHEME", "power save"}));
    QCOMPARE(powerdaemon::pkexecArguments(Rules::Applet, "BATTERY_SCHEME", std::string("a\0b", 3)),
             (Arguments{"--disable-internal-agent", "/usr/libexec/ovra/ovra-switch-scheme",
                        "applet", "BATTERY_SCHEME", std::string("a\0b", 3)}));

    // The report is read from the first 64 KiB of the output only.
    powerdaemon::SwitchReport applied;
    applied.commandsRan = true;
    applied.accepted = true;
    const std::string report = applied.toText();
    QCOMPARE(powerdaemon::helperReport(report)->toText(), report);
    const std::string padding(powerdaemon::HelperOutputLimit - report.size(), '\n');
    QVERIFY(powerdaemon::helperReport(padding + report));
    QVERIFY(!powerdaemon::helperReport(std::string(powerdaemon::HelperOutputLimit, '\n') + report));
    QVERIFY(
        !powerdaemon::helperReport("Error executing command as another user: Not authorized\n"));

    // pkexec's words are told only when they say more than "not authorized".
    QVERIFY(!powerdaemon::pkexecSaysMore(""));
    QVERIFY(
        !powerdaemon::pkexecSaysMore("Error executing command as another user: Not authorized"));
    QVERIFY(!powerdaemon::pkexecSaysMore("Not authorized"));
    QVERIFY(powerdaemon::pkexecSaysMore("Error executing command as another user: not authorized"));
    QVERIFY(powerdaemon::pkexecSaysMore("Cannot run program: No such file or directory"));
}

void TestSchemeRules::substitutionsSpanLines()
{
    // A backquote in a key's value opens a substitution that bash reads on
    // to its closing backquote: the lines inside assign nothing, the value
    // is none the programs can know or rewrite, and an update is the same
    // when made twice.
    const std::string text = "BATTERY_SCHEME=\"dos\"x`date\nAC_SCHEME=inside\n`\nAC_SCHEME=out\n";
    QCOMPARE(powerdaemon::readSchemeKey(Rules::Popup, text, "AC_SCHEME"), std::string("out"));
    QVERIFY(powerdaemon::keyValues(text, "BATTERY_SCHEME").empty());
    const std::string once = powerdaemon::setKeyValue(
        powerdaemon::setKeyValue(text, "AC_SCHEME", "a"), "BATTERY_SCHEME", "b");
    QCOMPARE(powerdaemon::setKeyValue(powerdaemon::setKeyValue(once, "AC_SCHEME", "a"),
                                      "BATTERY_SCHEME", "b"),
             once);
    QCOMPARE(once,
             std::string("BATTERY_SCHEME=\"dos\"x`date\nAC_SCHEME=inside\n`\nAC_SCHEME=\"a\"\n"));
}

QTEST_GUILESS_MAIN(TestSchemeRules)
#include "tst_schemerules.moc"
