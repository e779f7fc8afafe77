// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ovradesktop_export.h"

#include "appletinfo.h"

#include <QString>

class KPanelApplet;
class QWidget;

/// Loads an applet's library with dlopen and calls its exported
/// `extern "C" KPanelApplet* init(QWidget* parent, const QString& configFile)`.
/// Libraries stay loaded for the life of the process: objects an applet
/// leaves behind (queued events, static data) may still use its code.
class OVRADESKTOP_EXPORT AppletLoader
{
public:
    /// The applet, or null with a message in error (missing library, no
    /// init, init returning no applet, init failing).
    static KPanelApplet* load(const AppletInfo& info, QWidget* parent, const QString& configFile,
                              QString* error);
};
