// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class KPanelApplet;
class QAction;
class QMenu;
class QWidget;

/// Adds the applet's declared About, Help and Report Bug entries to the menu
/// that lxqt-panel opens for the plugin (Preferences is LXQt's own
/// "Configure" entry). The panel builds that menu itself when a context menu
/// event reaches the plugin and offers no way to extend it, so this watches
/// for it: right after a context menu event in the plugin's widget, the next
/// menu created in the panel's window gets the entries above the plugin's own
/// ones ("Configure", "Move", "Remove"), below the plugin's title.
class PluginMenuActions : public QObject
{
    Q_OBJECT

public:
    PluginMenuActions(const QString& appletName, KPanelApplet* applet, QWidget* pluginWidget);
    ~PluginMenuActions() override;

    /// True when the applet declares any of About, Help and Report Bug.
    bool offersActions() const;
    /// The entries the applet's action flags declare, beyond Preferences, in
    /// the order About, Help, Report Bug; owned by parent.
    QList<QAction*> createActions(QObject* parent) const;

    /// Puts the entries into menu before the entry before.
    void insertInto(QMenu* menu, QAction* before);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchForMenu();
    void stopWatching();

    QString m_appletName;
    QPointer<KPanelApplet> m_applet;
    QWidget* m_pluginWidget;
    QPointer<QWidget> m_panelWindow;
    QList<QPointer<QObject>> m_newChildren;
    bool m_watching = false;
};
