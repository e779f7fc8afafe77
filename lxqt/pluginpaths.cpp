#include "pluginpaths.h"

#include "appletpaths.h"

#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

QString PluginPaths::pluginFolder()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&PluginPaths::pluginFolder), &info) == 0 || !info.dli_fname)
        return QString();
    return QFileInfo(QFile::decodeName(info.dli_fname)).absolutePath();
}

void PluginPaths::searchBesidePlugin()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const QString folder = pluginFolder();
    if (folder.isEmpty())
        return;
    AppletPaths::prependSearchDirs(
        {folder + QStringLiteral("/../../share/ovra/applets"),
         folder + QLatin1Char('/') + QStringLiteral(OVRA_LXQT_RELATIVE_APPLET_DATADIR)},
        {folder + QStringLiteral("/.."),
         folder + QLatin1Char('/') + QStringLiteral(OVRA_LXQT_RELATIVE_APPLET_PLUGINDIR)});
}
