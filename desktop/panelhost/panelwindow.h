// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "appletcontainer.h"
#include "appletinfo.h"
#include "panelconfig.h"

#include <QList>
#include <QWidget>

class QHBoxLayout;

/// The panel: a dock window along the bottom edge of the screen holding a row
/// of applets. Started with explicit applets it shows just those for this
/// run; otherwise it shows the applets of its configuration and keeps the
/// configuration up to date when applets are added or removed.
class PanelWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int defaultHeight = PanelHeight::standard;
    static constexpr int minimumHeight = PanelHeight::minimum;
    static constexpr int maximumHeight = PanelHeight::maximum;
    /// Around and between the applets.
    static constexpr int margin = 2;
    /// The height of the applets in a panel of the default height.
    static constexpr int defaultAppletHeight = defaultHeight - 2 * margin;
    static_assert(defaultAppletHeight == AppletContainer::defaultHeight,
                  "hosts without a panel of their own size applets as this panel does");

    /// configPath: the panel's own configuration file; empty for none.
    PanelWindow(const QString& configPath, QWidget* parent = nullptr);
    ~PanelWindow() override;

    int panelHeight() const { return m_height; }
    void setPanelHeight(int height);

    /// Loads the applets named in the configuration, each with the
    /// configuration file it had before; with no configuration yet, every
    /// applet found.
    void restoreApplets();
    /// Adds an applet; null (with the reason on standard error and in error)
    /// when it did not load. The panel goes on either way. The applet gets
    /// the configuration file configFile, or a new one when that is empty,
    /// not a plain file name or already another applet's.
    AppletContainer* addApplet(const AppletInfo& info, QString* error = nullptr,
                               const QString& configFile = QString());
    void removeApplet(AppletContainer* container);
    QList<AppletContainer*> containers() const { return m_containers; }

    /// Places the window along the bottom edge of its screen.
    void placeOnScreen();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int containerHeight() const;
    void saveConfig() const;

    QString m_configPath;
    int m_height = defaultHeight;
    QHBoxLayout* m_layout = nullptr;
    QList<AppletContainer*> m_containers;
};
