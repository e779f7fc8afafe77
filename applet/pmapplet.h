// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The panel applet: the factory that the panel calls, the check for the
// battery module, and the applet object that hosts the battery gauge and
// answers DCOP calls.

#include <dcopobject.h>
#include <kpanelapplet.h>

#include <QString>

class GraphFrame;
class KAboutDialog;
class QPaintEvent;
class QPixmap;
class QResizeEvent;

extern "C" {
// Called once by the panel when it loads the library; null when the battery
// module is missing.
Q_DECL_EXPORT KPanelApplet* init(QWidget* parent, const QString& configFile);
}

// True at once when UPower tells this machine's batteries (machine/);
// otherwise true when the battery module's directory exists, loading it if
// needed: up to ten loads a second apart, all within about 30 s (a load that
// hangs is ended); otherwise the error dialog, and false.
bool JudgeBatModule();
// A new pixmap loaded from a file, owned by the caller; never null (a file that
// does not load gives a null pixmap).
QPixmap* load_qpixmap(const char* name);

class OvraApplet : public KPanelApplet, virtual public DCOPObject
{
    Q_OBJECT

public:
    // Argument of the DCOP call setPos.
    enum ePos
    {
        bRight = 0,
        bLeft = 1
    };

    OvraApplet(const QString& configFile, KPanelApplet::Type type, int actions, QWidget* parent,
               const char* name);
    ~OvraApplet() override;

    int heightForWidth(int width) const override;
    int widthForHeight(int height) const override;
    void about() override;
    void help() override;
    void preferences() override;

    // DCOP: the calls setPos(int), exit(), hide() and show() on "OvraIface".
    bool process(const QCString& fun, const QByteArray& callData, QCString& replyType,
                 QByteArray& replyData) override;
    QCStringList functions() override;
    QCStringList interfaces() override;

    // Releases the gauge and the about dialog; the applet stays as an empty frame.
    void closeAll();

    void k_dcop_setPos(ePos pos);
    // Empties the applet: the catalogue, the gauge and the about dialog go.
    void k_dcop_exit();
    void k_dcop_hide();
    void k_dcop_show();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void positionChange(KPanelApplet::Position p) override;
    void alignmentChange(KPanelApplet::Alignment a) override;

private:
    GraphFrame* _graph_frame;
    KAboutDialog* m_aboutDlg;
};
