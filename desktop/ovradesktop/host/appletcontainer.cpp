// SPDX-License-Identifier: GPL-2.0-or-later
#include "appletcontainer.h"

#include "applethandle.h"
#include "appletloader.h"

#include <kpanelapplet.h>

#include <QEvent>
#include <QResizeEvent>

AppletContainer::AppletContainer(const AppletInfo& info, const QString& configFile, QWidget* parent,
                                 Handle handle)
    : QWidget(parent), m_info(info), m_configFile(configFile), m_handleKind(handle)
{
    setObjectName(QStringLiteral("AppletContainer"));
}

AppletContainer::~AppletContainer()
{
    // The applet goes first, while its handle and this container still exist.
    delete m_applet.data();
}

bool AppletContainer::loadApplet(QString* error)
{
    KPanelApplet* applet = AppletLoader::load(m_info, this, m_configFile, error);
    if (!applet) {
        return false;
    }
    if (applet->parentWidget() != this) {
        applet->setParent(this);
    }
    m_applet = applet;
    if (m_handleKind == Handle::Shown) {
        m_handle = new AppletHandle(m_info.name, applet->actions(), this);
        connect(m_handle, &AppletHandle::aboutRequested, applet, &KPanelApplet::about);
        connect(m_handle, &AppletHandle::helpRequested, applet, &KPanelApplet::help);
        connect(m_handle, &AppletHandle::preferencesRequested, applet, &KPanelApplet::preferences);
        connect(m_handle, &AppletHandle::reportBugRequested, applet, &KPanelApplet::reportBug);
        connect(m_handle, &AppletHandle::removeRequested, this,
                [this] { Q_EMIT removeRequested(this); });
        m_handle->show();
    }
    connect(applet, &KPanelApplet::updateLayout, this, &AppletContainer::relayout,
            Qt::QueuedConnection);
    applet->installEventFilter(this);
    // This panel is a horizontal bar along the bottom edge.
    applet->setPosition(KPanelApplet::pBottom);
    applet->setAlignment(KPanelApplet::LeftTop);
    applet->show();
    relayout();
    return true;
}

int AppletContainer::handleWidth() const
{
    return m_handleKind == Handle::Shown ? AppletHandle::handleWidth : 0;
}

int AppletContainer::appletWidth() const
{
    if (!m_applet || m_applet->isHidden()) {
        return 0;
    }
    const int wanted = m_applet->widthForHeight(height());
    // A fixed or bounded width set by the applet itself wins over its wish.
    return qBound(m_applet->minimumWidth(), qMax(0, wanted), m_applet->maximumWidth());
}

void AppletContainer::relayout()
{
    if (!m_applet || m_inLayout) {
        return;
    }
    m_inLayout = true;
    const int w = appletWidth();
    const int total = handleWidth() + w;
    if (m_applet->type() == KPanelApplet::Stretch) {
        setMinimumWidth(total);
        setMaximumWidth(QWIDGETSIZE_MAX);
    } else {
        setFixedWidth(total);
    }
    if (m_handle) {
        m_handle->setGeometry(0, 0, handleWidth(), height());
    }
    const int appletWidth =
        m_applet->type() == KPanelApplet::Stretch ? qMax(w, width() - handleWidth()) : w;
    m_applet->setGeometry(handleWidth(), 0, appletWidth, height());
    m_inLayout = false;
}

bool AppletContainer::event(QEvent* event)
{
    // Posted when a child's size constraints change or it is shown or hidden.
    if (event->type() == QEvent::LayoutRequest) {
        relayout();
    }
    return QWidget::event(event);
}

bool AppletContainer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_applet &&
        (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)) {
        QMetaObject::invokeMethod(this, &AppletContainer::relayout, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

void AppletContainer::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const bool stretches = m_applet && m_applet->type() == KPanelApplet::Stretch;
    if (event->size().height() != event->oldSize().height() || stretches) {
        relayout();
    }
}
