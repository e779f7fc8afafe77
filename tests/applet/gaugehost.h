// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The gauge inside a bare applet, as a panel holds it. Test classes derive
// from this beside QObject; the applet owns the gauge, so resetting m_host
// releases both.

#include "laptopfixture.h"

#include "applet/graphframe.h"
#include <kpanelapplet.h>

#include <QString>

#include <memory>

class GaugeHost
{
protected:
    std::unique_ptr<KPanelApplet> m_host;
    GraphFrame* m_frame = nullptr;

    // A fresh applet holding a new gauge, sized width x height when width > 0.
    void makeGauge(int width = 0, int height = 40)
    {
        m_host = std::make_unique<KPanelApplet>(QString());
        m_frame = new GraphFrame(m_host.get(), "graph_frame");
        if (width > 0) {
            m_frame->resize(width, height);
        }
    }
};
