// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ovradesktop_export.h"

#include "appletinfo.h"

#include <kpanelapplet.h>

#include <QPointer>
#include <QWidget>

class AppletHandle;

/// One applet in a panel: its handle (unless the panel has menus of its own)
/// and the applet itself, sized by the applet's widthForHeight() within its
/// own width constraints. It lays out again when the applet asks for it
/// (updateLayout), when the applet's size constraints change, and when it is
/// shown or hidden.
class OVRADESKTOP_EXPORT AppletContainer : public QWidget
{
    Q_OBJECT

public:
    enum class Handle
    {
        Shown, // the grip with the applet's menu (panelhost)
        None   // the hosting panel offers the applet's actions itself
    };

    /// The applets' height in panelhost's panel of its default height, and
    /// the bar a host gives an applet where it has no height of its own.
    static constexpr int defaultHeight = 36;

    AppletContainer(const AppletInfo& info, const QString& configFile, QWidget* parent,
                    Handle handle = Handle::Shown);
    ~AppletContainer() override;

    /// Loads the applet into this container; false (with error) when there is none.
    bool loadApplet(QString* error);

    KPanelApplet* applet() const { return m_applet; }
    /// Null without a handle or before the applet is loaded.
    AppletHandle* handle() const { return m_handle; }
    /// The width the handle takes: 0 without one.
    int handleWidth() const;
    const AppletInfo& info() const { return m_info; }
    QString configFile() const { return m_configFile; }
    /// The width the applet is given at the current height.
    int appletWidth() const;

public Q_SLOTS:
    void relayout();

Q_SIGNALS:
    /// The user chose "Remove"; the panel deletes the container.
    void removeRequested(AppletContainer* container);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    AppletInfo m_info;
    QString m_configFile;
    Handle m_handleKind;
    AppletHandle* m_handle = nullptr;
    QPointer<KPanelApplet> m_applet;
    bool m_inLayout = false;
};
