// SPDX-License-Identifier: GPL-2.0-or-later
#include "ovralxqtpluginlibrary.h"

#include "ovralxqtplugin.h"

ILXQtPanelPlugin*
OvraLxqtPluginLibrary::instance(const ILXQtPanelPluginStartupInfo& startupInfo) const
{
    return new OvraLxqtPlugin(startupInfo);
}
