// SPDX-License-Identifier: GPL-2.0-or-later
// What each program tells of a switch's result, from the one mapping: the
// popup's problems in its box, the applet's on standard error with a notice
// for what the user must know; nothing for a switch that took effect. A
// report read back from the helper's output is told as the switch's own.
#include "powerdaemon/switchreport.h"
#include "schemes/switchwords.h"

#include <QTest>

#include <cerrno>

namespace {

using powerdaemon::SwitchReport;
using schemes::SwitchMessage;
using schemes::SwitchResult;

const QString Common = QStringLiteral("/etc/sysconfig/powersave/common");

QStringList told(const SwitchResult& result, schemes::Problems problems)
{
    QStringList lines;
    for (const SwitchMessage& message : schemes::messagesOf(result, problems)) {
        lines << (message.kind == SwitchMessage::Kind::Problem
                      ? QStringLiteral("problem: ") + message.text
                      : QStringLiteral("notice: %1 | %2%3")
                            .arg(message.summary, message.text,
                                 message.reasonLogged ? QStringLiteral(" (said)") : QString()));
    }
    return lines;
}

SwitchResult ran(const SwitchReport& report, const char* scheme = "powersave", bool mains = true)
{
    SwitchResult result;
    (mains ? result.choice.mains : result.choice.battery) = QByteArray(scheme);
    result.report = report;
    return result;
}

SwitchResult neverRan(bool started, int status, const char* message)
{
    SwitchResult result;
    result.choice.mains = QByteArray("powersave");
    result.pkexecStarted = started;
    result.pkexecStatus = status;
    result.pkexecMessage = QString::fromLatin1(message);
    return result;
}

SwitchReport applied(bool accepted = true)
{
    SwitchReport report;
    report.commandsRan = true;
    report.accepted = accepted;
    return report;
}

SwitchReport failed(const char* action, int code, bool commandsRan)
{
    SwitchReport report = applied();
    report.commandsRan = commandsRan;
    report.saved = SwitchReport::Saved::Failed;
    report.failure = {action, Common.toStdString(), code};
    report.reason = report.failure.message();
    return report;
}

QString notSaved(const QString& reason, bool said = false)
{
    return QStringLiteral("notice: Power scheme not saved | The scheme \"powersave\" was not "
                          "saved: ") +
           reason + (said ? QStringLiteral(" (said)") : QString());
}

QString notSwitched(const QString& reason)
{
    return QStringLiteral("problem: The power scheme \"powersave\" was not switched: ") + reason;
}

} // namespace

Q_DECLARE_METATYPE(schemes::SwitchResult)

class TestSwitchWords : public QObject
{
    Q_OBJECT

private slots:
    void eachOutcome()
    {
        QFETCH(SwitchResult, result);
        QFETCH(QStringList, popup);
        QFETCH(QStringList, applet);
        QCOMPARE(told(result, schemes::Problems::Shown), popup);
        QCOMPARE(told(result, schemes::Problems::Logged), applet);
        // Through the helper the report comes as its text: told the same.
        if (result.report) {
            SwitchResult fromHelper = result;
            fromHelper.report = SwitchReport::fromText(result.report->toText());
            QVERIFY(fromHelper.report);
            QCOMPARE(told(fromHelper, schemes::Problems::Shown), popup);
            QCOMPARE(told(fromHelper, schemes::Problems::Logged), applet);
        }
    }

    // A result; what the popup tells of it, and what the applet tells.
    void eachOutcome_data()
    {
        QTest::addColumn<SwitchResult>("result");
        QTest::addColumn<QStringList>("popup");
        QTest::addColumn<QStringList>("applet");

        QTest::newRow("applied") << ran(applied()) << QStringList() << QStringList();
        const QString notAuthorized =
            QStringLiteral("you are not authorized to switch power schemes.");
        QTest::newRow("not authorized")
            << neverRan(true, 127, "Error executing command as another user: Not authorized")
            << QStringList{notSwitched(notAuthorized)} << QStringList{notSaved(notAuthorized)};
        const QString more = notAuthorized + QStringLiteral("\nCannot run program: not found");
        QTest::newRow("pkexec says more")
            << neverRan(true, 127, "Cannot run program: not found")
            << QStringList{notSwitched(more)} << QStringList{notSaved(more)};
        const QString dismissed = QStringLiteral("the authentication was dismissed.");
        QTest::newRow("dismissed") << neverRan(true, 126, "") << QStringList{notSwitched(dismissed)}
                                   << QStringList{notSaved(dismissed)};
        const QString notStarted =
            QStringLiteral("/usr/bin/pkexec could not be started (No such file or directory).");
        QTest::newRow("pkexec not started")
            << neverRan(false, -1, "No such file or directory")
            << QStringList{notSwitched(notStarted)} << QStringList{notSaved(notStarted)};

        // The helper killed after writing: pkexec ended without a report,
        // neither refused nor dismissed. Told as unknown, with the file's word.
        const QString unknown = QStringLiteral("The switch to the power scheme \"powersave\" "
                                               "ended without a report: whether it was made is "
                                               "not known.\n");
        const QString saysPowersave = Common + QStringLiteral(" now sets AC_SCHEME=\"powersave\".");
        SwitchResult killed = neverRan(true, -1, "");
        killed.afterwards = schemes::SchemesInForce{"powersave", "performance", std::nullopt};
        QTest::newRow("helper killed, the file holds the choice")
            << killed << QStringList{QStringLiteral("problem: ") + unknown + saysPowersave}
            << QStringList{QStringLiteral("notice: Power scheme switch not confirmed | ") +
                           unknown + saysPowersave};
        SwitchResult silent = neverRan(true, 0, "");
        silent.afterwards = schemes::SchemesInForce{};
        silent.afterwards->failure = powerdaemon::FileError{"open", Common.toStdString(), EACCES};
        const QString unread = unknown + Common + QStringLiteral(" could not be read.");
        QTest::newRow("no report, the file unreadable")
            << silent << QStringList{QStringLiteral("problem: ") + unread}
            << QStringList{QStringLiteral("notice: Power scheme switch not confirmed | ") + unread};

        SwitchReport notOffered;
        notOffered.refused = true;
        notOffered.reason = "no such scheme: powersave";
        QTest::newRow("not offered")
            << ran(notOffered)
            << QStringList{notSwitched(QStringLiteral("no such scheme: powersave"))}
            << QStringList{notSaved(QStringLiteral("no such scheme: powersave"))};
        SwitchReport unsafe;
        unsafe.refused = true;
        unsafe.reason = "not a safe scheme name";
        const QString unsafeText =
            QStringLiteral("problem: scheme name not written to %1 (a name holds only letters, "
                           "digits, \".\", \"_\", \"+\" and \"-\"): a;b")
                .arg(Common);
        QTest::newRow("unsafe name")
            << ran(unsafe, "a;b") << QStringList{unsafeText} << QStringList{unsafeText};

        const QString missing =
            QStringLiteral("problem: configuration %1 is missing; not created").arg(Common);
        const QString notWritten = Common + QStringLiteral(" could not be written.");
        QTest::newRow("missing file, the popup's rules")
            << ran(failed("open", ENOENT, false)) << QStringList{missing}
            << QStringList{missing, notSaved(notWritten, true)};
        const QString full =
            QStringLiteral("problem: Could not write file %1: No space left on device").arg(Common);
        QTest::newRow("full disk, the applet's rules")
            << ran(failed("write", ENOSPC, true)) << QStringList{full}
            << QStringList{full, notSaved(notWritten, true)};

        SwitchReport noKey = applied();
        noKey.saved = SwitchReport::Saved::NoKey;
        const QString noBatteryKey =
            notSaved(Common + QStringLiteral(" has no BATTERY_SCHEME setting."));
        QTest::newRow("no key") << ran(noKey, "powersave", false) << QStringList{noBatteryKey}
                                << QStringList{noBatteryKey};

        SwitchReport refusedAndLeft = applied(false);
        refusedAndLeft.stillRunning = {"/etc/init.d/powersaved start &>/dev/null"};
        const QStringList leftAndRefused{
            QStringLiteral("problem: The command did not finish within 30 s and was ended: "
                           "/etc/init.d/powersaved start &>/dev/null"),
            QStringLiteral("notice: Power scheme not applied | The power daemon did not accept the "
                           "scheme \"powersave\".")};
        QTest::newRow("not applied, a command ended at its bound")
            << ran(refusedAndLeft) << leftAndRefused << leftAndRefused;
        // A switch over D-Bus (power-profiles-daemon): its refusal, the
        // daemon gone, and the user's own file that could not be written.
        SwitchResult denied = neverRan(false, -1, "");
        denied.choice.mains = QByteArray("performance");
        denied.busError = QStringLiteral("org.freedesktop.DBus.Error.AccessDenied");
        denied.busMessage = QStringLiteral("Not authorized");
        const QString notAllowed =
            QStringLiteral("you are not authorized to switch power profiles.");
        QTest::newRow("profile refused by polkit")
            << denied << QStringList{notSwitched(notAllowed).replace("powersave", "performance")}
            << QStringList{notSaved(notAllowed).replace("powersave", "performance")};
        SwitchResult gone = neverRan(false, -1, "");
        gone.busError = QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown");
        gone.busMessage = QStringLiteral("The name is not activatable");
        const QString goneText = QStringLiteral(
            "the power profiles daemon did not answer (The name is not activatable).");
        QTest::newRow("profiles daemon gone")
            << gone << QStringList{notSwitched(goneText)} << QStringList{notSaved(goneText)};
        SwitchResult userFile = ran(failed("rename", EACCES, false));
        userFile.report->failure.path = "/home/u/.config/ovra/schemes";
        userFile.report->reason = userFile.report->failure.message();
        userFile.savedTo = QStringLiteral("/home/u/.config/ovra/schemes");
        const QString renameFailed =
            QStringLiteral("problem: Could not rename file /home/u/.config/ovra/schemes: "
                           "Permission denied");
        QTest::newRow("the user's choice not saved")
            << userFile << QStringList{renameFailed}
            << QStringList{
                   renameFailed,
                   notSaved(userFile.savedTo + QStringLiteral(" could not be written."), true)};
    }
};

QTEST_GUILESS_MAIN(TestSwitchWords)
#include "tst_switchwords.moc"
