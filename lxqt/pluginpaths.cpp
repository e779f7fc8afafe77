// SPDX-License-Identifier: GPL-2.0-or-later
#include "pluginpaths.h"

#include "appletpaths.h"
#include "libraryfolder.h"

QString PluginPaths::pluginFolder()
{
    return folderOfLibraryHolding(reinterpret_cast<const void*>(&PluginPaths::pluginFolder));
}

void PluginPaths::searchBesidePlugin()
{
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    const QString folder = pluginFolder();
    if (folder.isEmpty()) {
        return;
    }
    AppletPaths::prependSearchDirs(
        {folder + QStringLiteral("/../../share/ovra/applets"),
         folder + QLatin1Char('/') + QStringLiteral(OVRA_LXQT_RELATIVE_APPLET_DATADIR)},
        {folder + QStringLiteral("/.."),
         folder + QLatin1Char('/') + QStringLiteral(OVRA_LXQT_RELATIVE_APPLET_PLUGINDIR)});
}
