// SPDX-License-Identifier: GPL-2.0-or-later
#include "applethandle.h"

#include <kpanelapplet.h>

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

#include <memory>

AppletHandle::AppletHandle(const QString& appletName, int actions, QWidget* parent)
    : QWidget(parent), m_appletName(appletName), m_actions(actions)
{
    setToolTip(appletName);
    setFixedWidth(handleWidth);
}

QSize AppletHandle::sizeHint() const
{
    return QSize(handleWidth, 24);
}

QMenu* AppletHandle::createMenu()
{
    auto* menu = new QMenu;
    menu->setObjectName(QStringLiteral("appletHandleMenu"));
    menu->setTitle(m_appletName);
    // The entries of the actions the applet declares, in the panel's order.
    struct Entry
    {
        int action;
        const char* text;
        void (AppletHandle::*requested)();
    };
    static constexpr Entry entries[] = {
        {KPanelApplet::About, QT_TR_NOOP("&About"), &AppletHandle::aboutRequested},
        {KPanelApplet::Help, QT_TR_NOOP("&Help"), &AppletHandle::helpRequested},
        {KPanelApplet::Preferences, QT_TR_NOOP("&Preferences..."),
         &AppletHandle::preferencesRequested},
        {KPanelApplet::ReportBug, QT_TR_NOOP("Report &Bug..."), &AppletHandle::reportBugRequested},
    };
    for (const Entry& entry : entries) {
        if (m_actions & entry.action) {
            connect(menu->addAction(tr(entry.text)), &QAction::triggered, this, entry.requested);
        }
    }
    if (!menu->isEmpty()) {
        menu->addSeparator();
    }
    connect(menu->addAction(tr("&Remove")), &QAction::triggered, this,
            &AppletHandle::removeRequested);
    return menu;
}

void AppletHandle::paintEvent(QPaintEvent*)
{
    // Two columns of raised dots, as panel grips are drawn.
    QPainter painter(this);
    const QPalette pal = palette();
    for (int y = 4; y + 2 < height() - 2; y += 4) {
        for (int x = 1; x + 2 <= width() - 1; x += 4) {
            painter.fillRect(x, y, 2, 2, pal.color(QPalette::Dark));
            painter.fillRect(x, y, 1, 1, pal.color(QPalette::Light));
        }
    }
}

void AppletHandle::contextMenuEvent(QContextMenuEvent* event)
{
    const std::unique_ptr<QMenu> menu(createMenu());
    menu->exec(event->globalPos());
}
