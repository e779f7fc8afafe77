// SPDX-License-Identifier: GPL-2.0-or-later
// Power schemes: the list offered, the product's copies, and activation.
#include "UPMComm.h"
#include "powerdaemon/schemerules.h"
#include "powersavepaths.h"
#include "rawfile.h"
#include "schemenotices.h"
#include "switchthroughhelper.h"

#include <memory>

#include <dirent.h>
#include <fnmatch.h>

namespace {

struct DirCloser
{
    void operator()(DIR* dir) const { closedir(dir); }
};
using Directory = std::unique_ptr<DIR, DirCloser>;

// The scheme a switch is about: the one of the key it sets (the popup sets
// one key at a time).
struct SchemeChoice
{
    QByteArray name;
    const char* key;
};

SchemeChoice chosenScheme(const std::optional<QByteArray>& acScheme,
                          const std::optional<QByteArray>& batteryScheme)
{
    if (acScheme) {
        return {*acScheme, powerdaemon::AcSchemeKey};
    }
    return {batteryScheme.value_or(QByteArray()), powerdaemon::BatterySchemeKey};
}

} // namespace

QList<QByteArray> ListSchemes()
{
    // Directory order, not sorted: the order the daemon's directory yields.
    QList<QByteArray> names;
    const Directory dir(opendir(powerdaemon::SchemeDir));
    if (!dir) {
        return names;
    }
    while (const dirent* entry = readdir(dir.get())) {
        if (fnmatch(powerdaemon::SchemePattern, entry->d_name, 0) != 0) {
            continue;
        }
        const QByteArray name = QByteArray(entry->d_name).mid(powerdaemon::SchemeFileHeadLength);
        // A name the file could not hold safely is not offered.
        const std::string_view text(name.constData(), std::size_t(name.size()));
        if (powerdaemon::isListedScheme(powerdaemon::Rules::Popup, text) &&
            powerdaemon::isSafeSchemeName(text)) {
            names.append(name);
        }
    }
    return names;
}

bool SchemeAvailable(const QByteArray& name)
{
    return FileExists(powerdaemon::ProductSchemePrefix + name);
}

void WriteSchemes(const std::optional<QByteArray>& acScheme,
                  const std::optional<QByteArray>& batteryScheme)
{
    if (SwitchRunsThroughHelper()) {
        const SchemeChoice choice = chosenScheme(acScheme, batteryScheme);
        SwitchThroughHelper(choice.key, choice.name);
        return;
    }
    const bool saved = UpdateSchemeKeys(acScheme, batteryScheme);
    bool accepted = ExecCmd(powerdaemon::ReloadCommand);
    if (!accepted) {
        accepted = ExecCmd(powerdaemon::StartCommand);
    }
    ExecCmd(powerdaemon::IdletimeRestartCommand);
    // Told only now, so that a notice shown in a box holds up no command.
    const SchemeChoice choice = chosenScheme(acScheme, batteryScheme);
    if (!saved) {
        ShowNotice(NotSavedNotice(choice.name, choice.key));
    }
    if (!accepted) {
        ShowNotice(NotAcceptedNotice(choice.name));
    }
}
