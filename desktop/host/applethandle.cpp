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
    if (m_actions & KPanelApplet::About)
        connect(menu->addAction(tr("&About")), &QAction::triggered, this,
                &AppletHandle::aboutRequested);
    if (m_actions & KPanelApplet::Help)
        connect(menu->addAction(tr("&Help")), &QAction::triggered, this,
                &AppletHandle::helpRequested);
    if (m_actions & KPanelApplet::Preferences)
        connect(menu->addAction(tr("&Preferences...")), &QAction::triggered, this,
                &AppletHandle::preferencesRequested);
    if (m_actions & KPanelApplet::ReportBug)
        connect(menu->addAction(tr("Report &Bug...")), &QAction::triggered, this,
                &AppletHandle::reportBugRequested);
    if (!menu->isEmpty())
        menu->addSeparator();
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
