// SPDX-License-Identifier: GPL-2.0-or-later
#include "pluginmenuactions.h"

#include <kpanelapplet.h>

#include <QAction>
#include <QActionEvent>
#include <QChildEvent>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <QWidgetAction>

#include <utility>

PluginMenuActions::PluginMenuActions(const QString& appletName, KPanelApplet* applet,
                                     QWidget* pluginWidget)
    : QObject(pluginWidget), m_appletName(appletName), m_applet(applet),
      m_pluginWidget(pluginWidget)
{
    m_pluginWidget->installEventFilter(this);
}

PluginMenuActions::~PluginMenuActions()
{
    stopWatching();
}

bool PluginMenuActions::offersActions() const
{
    return m_applet && (m_applet->actions() &
                        (KPanelApplet::About | KPanelApplet::Help | KPanelApplet::ReportBug));
}

QList<QAction*> PluginMenuActions::createActions(QObject* parent) const
{
    QList<QAction*> actions;
    if (!m_applet) {
        return actions;
    }
    QString name = m_appletName;
    name.replace(QLatin1Char('&'), QLatin1String("&&"));
    const auto add = [&](KPanelApplet::Action flag, const QString& text,
                         void (KPanelApplet::*call)()) {
        if (!(m_applet->actions() & flag)) {
            return;
        }
        auto* action = new QAction(text.arg(name), parent);
        const QPointer<KPanelApplet> applet = m_applet;
        connect(action, &QAction::triggered, this, [applet, call] {
            if (applet) {
                (applet.data()->*call)();
            }
        });
        actions << action;
    };
    add(KPanelApplet::About, tr("About \"%1\""), &KPanelApplet::about);
    add(KPanelApplet::Help, tr("Help on \"%1\""), &KPanelApplet::help);
    add(KPanelApplet::ReportBug, tr("Report a Bug in \"%1\"..."), &KPanelApplet::reportBug);
    return actions;
}

void PluginMenuActions::insertInto(QMenu* menu, QAction* before)
{
    menu->insertActions(before, createActions(menu));
}

bool PluginMenuActions::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ContextMenu:
        if (watched == m_pluginWidget) {
            watchForMenu();
        }
        break;
    case QEvent::ChildAdded:
        // The panel's menu is still being constructed here: watch every new
        // widget and recognise the menu by its first entries.
        if (m_watching && watched == m_panelWindow) {
            QObject* child = static_cast<QChildEvent*>(event)->child();
            if (child->isWidgetType()) {
                child->installEventFilter(this);
                m_newChildren << child;
            }
        }
        break;
    case QEvent::ActionAdded: {
        auto* menu = qobject_cast<QMenu*>(watched);
        QAction* added = static_cast<QActionEvent*>(event)->action();
        // The first entry that is not a title is the plugin's first own entry.
        if (m_watching && menu && added && !qobject_cast<QWidgetAction*>(added)) {
            stopWatching();
            insertInto(menu, added);
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void PluginMenuActions::watchForMenu()
{
    if (m_watching || !offersActions()) {
        return;
    }
    m_panelWindow = m_pluginWidget->window();
    if (m_panelWindow == m_pluginWidget) {
        return; // not in a panel
    }
    m_panelWindow->installEventFilter(this);
    m_watching = true;
    // The panel builds and shows its menu while it handles this same event.
    QTimer::singleShot(0, this, &PluginMenuActions::stopWatching);
}

void PluginMenuActions::stopWatching()
{
    m_watching = false;
    if (m_panelWindow) {
        m_panelWindow->removeEventFilter(this);
    }
    for (const QPointer<QObject>& child : std::as_const(m_newChildren)) {
        if (child) {
            child->removeEventFilter(this);
        }
    }
    m_newChildren.clear();
}
