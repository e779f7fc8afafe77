// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <ilxqtpanelplugin.h>

#include <QObject>

/// The entry point through which lxqt-panel creates the plugin "ovra".
class OvraLxqtPluginLibrary : public QObject, public ILXQtPanelPluginLibrary
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "lxqt.org/Panel/PluginInterface/3.0")
    Q_INTERFACES(ILXQtPanelPluginLibrary)

public:
    ILXQtPanelPlugin* instance(const ILXQtPanelPluginStartupInfo& startupInfo) const override;
};
