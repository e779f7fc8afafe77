// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

/// Where the applets are, seen from the plugin's own library: lxqt-panel is
/// no program of this project, so the folders beside the panel's program say
/// nothing. In the build tree the plugin sits in lib/lxqt-panel/, beside the
/// applet libraries in lib/ and their entries in share/ovra/applets/;
/// installed, the applets' folders are found relative to the plugin's.
namespace PluginPaths {

/// The folder holding the plugin's library; empty when it cannot be told.
QString pluginFolder();

/// Makes the applet search look beside the plugin first; once per process.
void searchBesidePlugin();

} // namespace PluginPaths
