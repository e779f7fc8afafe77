#pragma once
// Common routines of the scheme popup: the power daemon's configuration file,
// the shell command runner, the battery state probe and scheme activation.
// Strings are byte strings; file errors raise EInOutError, which no routine
// here catches.

#include "EInOutError.h"
#include "RBatState.h"

#include <QByteArray>
#include <QList>
#include <QString>

#ifndef OVRA_USE_ROOT_BATTERY_PATH
#define OVRA_USE_ROOT_BATTERY_PATH 0
#endif

// Read the battery state from the copy of the module's files under /root/H8
// instead of /proc/H8 (build option OVRA_USE_ROOT_BATTERY_PATH).
constexpr bool UseRootBatteryPath = OVRA_USE_ROOT_BATTERY_PATH != 0;

// Configuration file (/etc/sysconfig/powersave/common).
bool ParseKeyLine(const QByteArray& line, const QByteArray& key, QByteArray& value, int mode);
QByteArray FormatKeyLine(const QByteArray& key, const QByteArray& value);
bool ReadCurrentSchemes(QByteArray& acScheme, QByteArray& batteryScheme);
// Rewrites both keys in place: the file half of WriteSchemes.
void UpdateSchemeKeys(const QByteArray& acScheme, const QByteArray& batteryScheme);
bool WriteTextFile(const QByteArray& fileName, const QByteArray& text);

// Messages.
void ShowFileError(const QByteArray& message, const QByteArray& fileName, int code);
void ShowErrorBox(const QString& message);

// Shell commands.
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
void WriteSchemes(const QByteArray& acScheme, const QByteArray& batteryScheme);
