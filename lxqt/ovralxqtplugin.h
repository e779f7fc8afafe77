// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <ilxqtpanelplugin.h>

#include <QObject>
#include <QPointer>
#include <QString>

class AppletContainer;
struct AppletInfo;
class KPanelApplet;
class PluginMenuActions;

/// A KDE 3 style panel applet in lxqt-panel. The plugin's setting "applet"
/// names the applet's desktop entry ("ovraapplet.desktop", the battery applet,
/// by default); its library is loaded through init() as panelhost loads it,
/// into a container without handle that gives the applet the width its
/// widthForHeight() asks for and follows its changes. The applet's actions
/// appear in LXQt's menu for the plugin: Preferences as LXQt's "Configure"
/// entry, About, Help and Report Bug above it; LXQt's own entries stay. In a
/// vertical panel the applet is the same horizontal bar as in panelhost. An
/// applet that does not load leaves a small empty plugin that the menu can
/// remove, and the reason in the panel's log (standard error).
class OvraLxqtPlugin : public QObject, public ILXQtPanelPlugin
{
    Q_OBJECT

public:
    static constexpr char defaultApplet[] = "ovraapplet.desktop";
    /// The length of an empty plugin along the panel.
    static constexpr int emptyLength = 8;

    explicit OvraLxqtPlugin(const ILXQtPanelPluginStartupInfo& startupInfo);
    ~OvraLxqtPlugin() override;

    QString themeId() const override;
    QWidget* widget() override;
    Flags flags() const override;
    /// Runs the applet's preferences(); the applet shows its own windows.
    QDialog* configureDialog() override;
    void realign() override;

    /// The hosted applet; null when it did not load or was deleted.
    KPanelApplet* applet() const;

private:
    AppletInfo findApplet(QString* error) const;
    QString configFileName(const AppletInfo& info);
    void placeApplet();
    void placeEmpty();

    QPointer<AppletContainer> m_container;
    PluginMenuActions* m_menuActions = nullptr;
};
