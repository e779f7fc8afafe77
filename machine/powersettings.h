// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What "Open Power Manager..." (the popup) and "Launch PM" (the applet)
// start, for both programs alike: the product's power manager script where
// it is installed (each program runs its own command line for it, as it
// always has); otherwise the desktop's own power settings, the first of
// LXQt's, Xfce's, KDE's and GNOME's found on PATH; otherwise nothing, and
// why, for a tool tip.

#include <QString>
#include <QStringList>

namespace machine {

struct PowerSettings
{
    enum class Kind
    {
        ProductScript, // the product's script: the program's own command
        Program,       // program with arguments
        None           // nothing to start: whyNone says so
    };
    Kind kind = Kind::None;
    QString program;
    QStringList arguments;
    QString whyNone;
};

// The product's power manager script.
inline constexpr char ProductPowerManager[] = "/opt/nexalt/pm/pm.sh";

PowerSettings powerSettings();

// Starts the desktop's power settings (kind Program), detached: they run on
// their own, after the program that started them. Nothing for other kinds.
void startDesktopSettings(const PowerSettings& settings);

} // namespace machine
