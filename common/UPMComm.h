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

#include <functional>
#include <optional>

#ifndef OVRA_USE_ROOT_BATTERY_PATH
#define OVRA_USE_ROOT_BATTERY_PATH 0
#endif

// Read the battery state from the copy of the module's files under /root/H8
// instead of /proc/H8 (build option OVRA_USE_ROOT_BATTERY_PATH).
constexpr bool UseRootBatteryPath = OVRA_USE_ROOT_BATTERY_PATH != 0;

// Configuration file (/etc/sysconfig/powersave/common).
bool ReadCurrentSchemes(QByteArray& acScheme, QByteArray& batteryScheme);
// The file half of WriteSchemes: sets each key that has a value and leaves
// the other one as the file has it now. A name that cannot be written
// safely raises UnsafeSchemeName and leaves the file untouched. False when
// the file assigns a key given no line at all (it is never added), so that
// the scheme was not saved.
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

// Battery state.
bool ReadBatState(int n, RBatState& rec);
int GetPowerState();
qint32 StrToIntSafe(const QByteArray& text);
double StrToFloatSafe(const QByteArray& text);
void SplitIntUnit(const QByteArray& text, qint32& number, QByteArray& unit);
void SplitFloatUnit(const QByteArray& text, double& number, QByteArray& unit);

// Schemes.
QList<QByteArray> ListSchemes();
bool SchemeAvailable(const QByteArray& name);
// Sets the keys given (nullopt: that key is left as the file has it), then
// reloads the daemon and restarts the idle-time script. The reload runs also
// when the file lacks the key, since the daemon may still take up a change
// made by others. Once the commands have run, the user is told when the
// file did not get the scheme and when the daemon refused both its reload
// and its start. Run by a user who is not root, the switch helper does all
// of this as root once polkit has authorised the user, and the popup tells
// the same outcomes (switchthroughhelper.h).
void WriteSchemes(const std::optional<QByteArray>& acScheme,
                  const std::optional<QByteArray>& batteryScheme);

// The published interface: kept for callers written against it; the program
// itself reads key lines through ReadSchemeKeys and the state files'
// labels through ParseLabelLine (keyline.h), and writes keys through
// UpdateSchemeKeys.
// mode 0: a KEY="value" line (ParseAssignmentLine); any other mode: a
// "Label: value" line (ParseLabelLine).
bool ParseKeyLine(const QByteArray& line, const QByteArray& key, QByteArray& value, int mode);
// KEY="value", the value in double quotes as it stands.
QByteArray FormatKeyLine(const QByteArray& key, const QByteArray& value);
