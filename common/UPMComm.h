// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Common routines of the scheme popup: the power daemon's configuration file,
// the shell command runner, the battery state probe and scheme activation.
// Strings are byte strings; file errors raise EInOutError, which no routine
// here catches.

#include "RBatState.h"
#include "einouterror.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

namespace schemes {
class SchemeBackend;
}

// The schemes by the popup's rules (schemes/daemonschemes.h), behind the
// interface both programs use; the routines below are front ends on it.
schemes::SchemeBackend& PopupSchemes();

// Configuration file (/etc/sysconfig/powersave/common). A file that is
// missing is said in an error box and gives false; one that cannot be read
// raises EInOutError.
bool ReadCurrentSchemes(QByteArray& acScheme, QByteArray& batteryScheme);
// The file half of WriteSchemes (the one switch's write): sets each key
// that has a value and leaves the other one as the file has it now. A name
// that cannot be written safely raises UnsafeSchemeName and leaves the file
// untouched. False when the file assigns a key given no line at all (it is
// never added), so that the scheme was not saved.
bool UpdateSchemeKeys(const std::optional<QByteArray>& acScheme,
                      const std::optional<QByteArray>& batteryScheme);
// Replaces the file's content through a new file renamed over it, so that a
// failure leaves the old content whole (EInOutError says why).
bool WriteTextFile(const QByteArray& fileName, const QByteArray& text);

// Messages. The routines word them; how the user sees them is up to the
// program, which installs a presenter before anything can report. Without
// one a message goes to standard error.
using ErrorPresenter = std::function<void(const QString& message)>;
// Installs the presenter and returns the one it replaces; an empty presenter
// puts back the default.
ErrorPresenter SetErrorPresenter(ErrorPresenter presenter);
void ShowFileError(const QByteArray& message, const QByteArray& fileName, int code);
// Hands the message to the presenter and returns once it has been shown.
void ShowErrorBox(const QString& message);

// Notices: what the user should know of a switch that did not take effect.
// The routines word them; the program installs how they are shown, as with
// the messages above. Without a presenter a notice goes to standard error.
struct SchemeNotice
{
    QString summary;
    QString body;
};
using NoticePresenter = std::function<void(const SchemeNotice& notice)>;
NoticePresenter SetNoticePresenter(NoticePresenter presenter);
void ShowNotice(const SchemeNotice& notice);

// Shell commands. True when the command ended with exit code 0. A command
// that runs longer than 30 s is ended with what it started, the user is
// told in an error box, and the result is false.
bool ExecCmd(const QByteArray& command);

// Battery state (batteries/, by the popup's rules): battery n's state file
// (OVRA_USE_ROOT_BATTERY_PATH reads the copy under /root/H8), and the power
// source, 0 on mains power, 1 on the battery, -1 without battery 0's file.
// A file that is there but cannot be read raises EInOutError.
bool ReadBatState(int n, RBatState& rec);
int GetPowerState();
qint32 StrToIntSafe(const QByteArray& text);
double StrToFloatSafe(const QByteArray& text);
void SplitIntUnit(const QByteArray& text, qint32& number, QByteArray& unit);
void SplitFloatUnit(const QByteArray& text, double& number, QByteArray& unit);

// Schemes.
QList<QByteArray> ListSchemes();
bool SchemeAvailable(const QByteArray& name);
// The one switch (powerdaemon::switchScheme): sets the keys given (nullopt:
// that key is left as the file has it), then reloads the daemon and
// restarts the idle-time script. The reload runs also when the file lacks
// the key, since the daemon may still take up a change made by others. Run
// by root, the switch runs here and its file errors are raised as
// UpdateSchemeKeys raises them; run by anyone else, the switch helper does
// it as root once polkit has authorised the user, and the call waits for it
// in a local event loop. Once the commands have run, the user is told what
// did not take effect (schemes/switchwords.h): problems in error boxes, the
// rest in notices.
void WriteSchemes(const std::optional<QByteArray>& acScheme,
                  const std::optional<QByteArray>& batteryScheme);

// What the caller shows while a switch waits (for a password, for polkit):
// shown(stop) once the switch has not ended after SwitchWaitShownAfter,
// where stop() ends the wait; ended() when the wait is over, before the
// user is told anything.
struct SwitchWaitView
{
    std::function<void(std::function<void()> stop)> shown;
    std::function<void()> ended;
};
inline constexpr std::chrono::milliseconds SwitchWaitShownAfter{500};

// WriteSchemes with a way out of its wait: false when the user stopped
// waiting; the switch, if it still runs, finishes on its own, untold.
bool WriteSchemes(const std::optional<QByteArray>& acScheme,
                  const std::optional<QByteArray>& batteryScheme, const SwitchWaitView& view);

// The published interface: kept for callers written against it; the program
// itself reads the scheme keys through schemes/ and the state files'
// labels through ParseLabelLine (keyline.h), and writes keys through the
// one switch.
// mode 0: a KEY="value" line (ParseAssignmentLine); any other mode: a
// "Label: value" line (ParseLabelLine).
bool ParseKeyLine(const QByteArray& line, const QByteArray& key, QByteArray& value, int mode);
// KEY="value", the value in double quotes as it stands.
QByteArray FormatKeyLine(const QByteArray& key, const QByteArray& value);
