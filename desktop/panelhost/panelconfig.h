// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// panelhost's own configuration file (panelhostrc, an INI file): the panel's
// height and its applets in order, each with the configuration file it had.
// Qt Core only, so that the reading can be tested without a display.

#include <QList>
#include <QString>
#include <QStringList>

namespace PanelHeight {
constexpr int minimum = 24;
constexpr int maximum = 128;
constexpr int standard = 40;
} // namespace PanelHeight

struct PanelAppletEntry
{
    QString entry;      // the desktop entry's file name
    QString configFile; // the applet's configuration file as the file names it; may be unusable
};

struct PanelConfig
{
    int height = PanelHeight::standard; // within PanelHeight::minimum..maximum
    QList<PanelAppletEntry> applets;

    bool operator==(const PanelConfig& other) const;
};

/// The configuration at path; a missing file or key gives the defaults.
PanelConfig readPanelConfig(const QString& path);
/// Writes the configuration to path, keeping its other keys.
void writePanelConfig(const QString& path, const PanelConfig& config);

/// Whether an applet may keep configFile as its configuration file: a plain
/// file name of the configuration folder ("." and "..", and a Qt resource
/// path ":name", are none) that no other applet in taken has. The panel
/// deletes that file with the applet.
bool isUsableConfigFile(const QString& configFile, const QStringList& taken);
