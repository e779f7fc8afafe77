// SPDX-License-Identifier: GPL-2.0-or-later
#include "panelconfig.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString heightKey = QStringLiteral("General/Height");
const QString appletsKey = QStringLiteral("General/Applets");
const QString configFilesKey = QStringLiteral("General/ConfigFiles");

} // namespace

bool PanelConfig::operator==(const PanelConfig& other) const
{
    if (height != other.height || applets.size() != other.applets.size()) {
        return false;
    }
    for (int i = 0; i < applets.size(); ++i) {
        if (applets.at(i).entry != other.applets.at(i).entry ||
            applets.at(i).configFile != other.applets.at(i).configFile) {
            return false;
        }
    }
    return true;
}

PanelConfig readPanelConfig(const QString& path)
{
    const QSettings settings(path, QSettings::IniFormat);
    PanelConfig config;
    config.height =
        qBound(PanelHeight::minimum, settings.value(heightKey, PanelHeight::standard).toInt(),
               PanelHeight::maximum);
    const QStringList entries = settings.value(appletsKey).toStringList();
    // The lists run side by side; an entry beyond the end of the files has none.
    const QStringList configFiles = settings.value(configFilesKey).toStringList();
    for (int i = 0; i < entries.size(); ++i) {
        config.applets << PanelAppletEntry{entries.at(i), configFiles.value(i)};
    }
    return config;
}

void writePanelConfig(const QString& path, const PanelConfig& config)
{
    QSettings settings(path, QSettings::IniFormat);
    QStringList entries;
    QStringList configFiles;
    for (const PanelAppletEntry& applet : config.applets) {
        entries << applet.entry;
        configFiles << applet.configFile;
    }
    settings.setValue(appletsKey, entries);
    settings.setValue(configFilesKey, configFiles);
    settings.setValue(heightKey, config.height);
}

bool isUsableConfigFile(const QString& configFile, const QStringList& taken)
{
    // QDir takes a name that starts with ":" for a Qt resource path.
    return !configFile.isEmpty() && !taken.contains(configFile) &&
           QFileInfo(configFile).fileName() == configFile && !QDir::isAbsolutePath(configFile) &&
           configFile != QLatin1String(".") && configFile != QLatin1String("..");
}
