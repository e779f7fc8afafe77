// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <dcopobject.h>
#include <kpanelapplet.h>

#include <QPointer>

class KAboutDialog;
class KPopupMenu;
class KProcess;

/// A panel applet that uses every class of the desktop layer, for the tests
/// of panelhost and dcop. Its DCOP object "TestApplet" reports its size and
/// lets a test change its wished width and its width constraints.
class TestApplet : public KPanelApplet, public DCOPObject
{
    Q_OBJECT

public:
    static constexpr int initialWidth = 60;

    TestApplet(const QString& configFile, QWidget* parent);
    ~TestApplet() override;

    int widthForHeight(int height) const override;
    int heightForWidth(int width) const override;
    void about() override;
    void preferences() override;

    bool process(const QCString& fun, const QByteArray& args, QCString& replyType,
                 QByteArray& replyData) override;
    QCStringList functions() override;
    QCStringList interfaces() override;

    /// Changes the wished width and asks the panel for a new layout; false
    /// (refused) for widths below 1.
    bool setPreferredWidth(int width);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void positionChange(Position position) override;

private:
    bool launch(const QString& command);

    int m_preferredWidth = initialWidth;
    int m_positionChanges = 0;
    KPopupMenu* m_menu = nullptr;
    KProcess* m_process = nullptr;
    QPointer<KAboutDialog> m_about;
};
