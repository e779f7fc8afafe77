// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The user's scheme for each power source where power-profiles-daemon keeps
// the schemes: the daemon has one profile for all sources, so the choice for
// mains and for battery power is kept in a small file of the user's,
// $XDG_CONFIG_HOME/ovra/schemes, in the shell format and with the keys
// of the power daemon's file (AC_SCHEME, BATTERY_SCHEME), read by the same
// reader. An administrator's default, a file of the same name under one of
// $XDG_CONFIG_DIRS, gives a key the user's file lacks.

#include "powerdaemon/fileerror.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <string_view>

namespace powerprofiles {

struct Choices
{
    QByteArray mains;   // empty: none chosen
    QByteArray battery; // empty: none chosen
};

// The user's file, and the administrator's defaults in the order they count.
QString userChoiceFile();
QStringList systemChoiceFiles();

// The choices that files give, the first naming a key winning. A file that
// is missing, unreadable, not a regular file or too large gives none.
Choices readChoices(const QString& userFile, const QStringList& systemFiles);
Choices readChoices();

// text with key set to value: every line that assigns key is rewritten (its
// other bytes kept), or a line is added when none does; all other bytes stay.
// value must be a safe scheme name (powerdaemon::isSafeSchemeName).
std::string withChoice(std::string_view text, std::string_view key, std::string_view value);

// Sets key to value in the user's file, made (with its folder) if missing,
// replaced whole or not at all. A value that is not a safe name is refused
// (EINVAL).
std::optional<powerdaemon::FileError> saveChoice(const QString& file, std::string_view key,
                                                 std::string_view value);

} // namespace powerprofiles
