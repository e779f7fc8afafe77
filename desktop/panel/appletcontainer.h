#pragma once

#include "appletinfo.h"

#include <kpanelapplet.h>

#include <QPointer>
#include <QWidget>

class AppletHandle;

/// One applet in the panel: its handle and the applet itself, sized by the
/// applet's widthForHeight() within its own width constraints. It lays out
/// again when the applet asks for it (updateLayout), when the applet's size
/// constraints change, and when it is shown or hidden.
class AppletContainer : public QWidget
{
    Q_OBJECT

public:
    AppletContainer(const AppletInfo& info, const QString& configFile, QWidget* parent);
    ~AppletContainer() override;

    /// Loads the applet into this container; false (with error) when there is none.
    bool loadApplet(QString* error);

    KPanelApplet* applet() const { return m_applet; }
    AppletHandle* handle() const { return m_handle; }
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
    AppletHandle* m_handle = nullptr;
    QPointer<KPanelApplet> m_applet;
    bool m_inLayout = false;
};
