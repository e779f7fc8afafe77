// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ovradesktop_export.h"

#include "appletinfo.h"

#include <QList>
#include <QStringList>

/// Where the panel finds applets: their desktop entries in the applets data
/// folders and their libraries in the plug-in folders. The folders a host
/// prepends come first; then those beside the running program (the build
/// tree, or the installation it belongs to), the user's and the configured
/// installation's.
class OVRADESKTOP_EXPORT AppletPaths
{
public:
    static QStringList dataDirs();
    static QStringList pluginDirs();

    /// Folders searched before all others, for hosts that are not programs of
    /// this project (the LXQt plugin adds the folders beside its own library).
    static void prependSearchDirs(const QStringList& dataDirs, const QStringList& pluginDirs);

    /// The desktop entry of a file name, searched in the data folders only:
    /// a configuration names applets, and where the host was started must
    /// not decide what it loads. Empty for a path or a name found nowhere.
    static QString findEntry(const QString& name);
    /// An entry the user names on the command line: a path (with a slash) as
    /// it is, otherwise a name as findEntry finds it or else a file of that
    /// name in the working folder.
    static QString findEntryOrFile(const QString& nameOrPath);
    /// The library file for an X-KDE-Library value, a library name searched
    /// in the plug-in folders only; empty for a path or a name found nowhere.
    static QString findLibrary(const QString& library);
    /// Every valid entry of the data folders that is not hidden; an entry
    /// name found twice is taken from the earlier folder.
    static QList<AppletInfo> available();
};
