// SPDX-License-Identifier: GPL-2.0-or-later
#include "appletloader.h"

#include "appletpaths.h"

#include <kpanelapplet.h>

#include <QFile>

#include <dlfcn.h>
#include <exception>

namespace {

using InitFunction = KPanelApplet* (*)(QWidget*, const QString&);

KPanelApplet* failed(QString* error, const QString& why)
{
    if (error) {
        *error = why;
    }
    return nullptr;
}

} // namespace

KPanelApplet* AppletLoader::load(const AppletInfo& info, QWidget* parent, const QString& configFile,
                                 QString* error)
{
    if (!info.isValid()) {
        return failed(error, QStringLiteral("not an applet entry"));
    }
    if (info.library.contains(QLatin1Char('/'))) {
        return failed(error,
                      QStringLiteral("library %1 is a path; an applet's library is a name "
                                     "looked up in %2")
                          .arg(info.library, AppletPaths::pluginDirs().join(QLatin1String(", "))));
    }
    const QString path = AppletPaths::findLibrary(info.library);
    if (path.isEmpty()) {
        return failed(error,
                      QStringLiteral("library %1 not found in %2")
                          .arg(info.library, AppletPaths::pluginDirs().join(QLatin1String(", "))));
    }

    void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        return failed(
            error,
            QStringLiteral("cannot load %1: %2").arg(path, QString::fromLocal8Bit(dlerror())));
    }
    dlerror();
    auto init = reinterpret_cast<InitFunction>(dlsym(handle, "init"));
    if (!init) {
        return failed(error, QStringLiteral("%1 exports no init function").arg(path));
    }

    KPanelApplet* applet = nullptr;
    try {
        applet = init(parent, configFile);
    } catch (const std::exception& e) {
        return failed(
            error,
            QStringLiteral("init of %1 failed: %2").arg(path, QString::fromLocal8Bit(e.what())));
    } catch (...) {
        return failed(error, QStringLiteral("init of %1 failed").arg(path));
    }
    if (!applet) {
        return failed(error, QStringLiteral("init of %1 returned no applet").arg(path));
    }
    return applet;
}
