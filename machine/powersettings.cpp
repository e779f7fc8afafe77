// SPDX-License-Identifier: GPL-2.0-or-later
#include "powersettings.h"

#include "schemes/catalogue.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace machine {

namespace {

struct Candidate
{
    const char* program;
    QStringList arguments;
};

// In the order they are tried: the lighter desktops first, whose users this
// applet is most often on the panel of.
const QList<Candidate>& candidates()
{
    static const QList<Candidate> list = {
        {"lxqt-config-powermanagement", {}},
        {"xfce4-power-manager-settings", {}},
        {"kcmshell6", {QStringLiteral("powerdevilprofilesconfig")}},
        {"kcmshell5", {QStringLiteral("powerdevilprofilesconfig")}},
        {"systemsettings", {QStringLiteral("kcm_powerdevilprofilesconfig")}},
        {"gnome-control-center", {QStringLiteral("power")}},
    };
    return list;
}

} // namespace

PowerSettings powerSettings()
{
    PowerSettings settings;
    if (QFileInfo(QString::fromLatin1(ProductPowerManager)).isFile()) {
        settings.kind = PowerSettings::Kind::ProductScript;
        return settings;
    }
    for (const Candidate& candidate : candidates()) {
        const QString found =
            QStandardPaths::findExecutable(QString::fromLatin1(candidate.program));
        if (!found.isEmpty()) {
            settings.kind = PowerSettings::Kind::Program;
            settings.program = found;
            settings.arguments = candidate.arguments;
            return settings;
        }
    }
    settings.whyNone = schemes::translated(
        // TRANSLATORS: the tool tip of the disabled "Open Power Manager" entries.
        I18N_NOOP("No power manager is installed: neither the product's nor the power "
                  "settings of LXQt, Xfce, KDE or GNOME."));
    return settings;
}

void startDesktopSettings(const PowerSettings& settings)
{
    if (settings.kind == PowerSettings::Kind::Program) {
        QProcess::startDetached(settings.program, settings.arguments);
    }
}

} // namespace machine
