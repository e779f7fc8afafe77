// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The battery gauge that fills the panel applet: it reads the batteries from
// its battery source (the module's state files or UPower), paints the charge as a
// battery-shaped bar with a mains icon, keeps a tool tip, refreshes every
// five seconds and offers the scheme menu. The widget owns and wires the
// pieces: the battery source, the texts of its readings (batteryreadings),
// the painter (gaugepainter), the scheme menu (schememenu) and the shell
// runner (execshell).

#include "batteryreadings.h"
#include "gaugeview.h"
#include "lowbatterywarning.h"
#include "schememenu.h"

#include <QFrame>
#include <QString>

#include <memory>
#include <optional>

class DisplayChoice;
class GaugePainter;
class KPanelApplet;
class KPopupMenu;
class KProcess;
class QMouseEvent;
class QPaintEvent;
class QResizeEvent;
class QTimer;

class GraphFrame : public QFrame
{
    Q_OBJECT

public:
    using s_batInfo = BatteryInfo;
    using s_menuID = SchemeMenuIDs;

    GraphFrame(QWidget* parent, const char* name);
    ~GraphFrame() override;

    // Launches the power-manager program unless a launch still runs.
    void start_PM();
    void make_rmenu();
    // The applet's width: that for mains power (bLong) or for the battery;
    // the panel is asked to lay it out anew.
    void SetParentWidth(bool bLong);
    // The time left as "h : mm", of one time or the sum of two.
    QString FormatTime(int time1, int time2);

    // The left menu: the scheme entries, the display submenu and the launch.
    void make_lmenu(bool bFull);
    // Marks the entry of the scheme in force; marking is bookkeeping only.
    void set_menu();

    // Read access for the applet shell and the gauge's accessibility.
    bool oldStatus() const { return m_bOldStatus; }
    KPopupMenu* leftMenu() const { return m_schemeMenu->menu(); }
    // The charge in percent that the tool tip gives since the last refresh;
    // none without a battery or when two batteries' capacities are unknown.
    std::optional<int> tipPercentage() const { return m_tipPer; }

    // The published interface: kept for callers written against it; the
    // program itself runs its commands through execshell, reads the
    // batteries at each refresh (its battery source) and switches schemes
    // from its scheme menu (schememenu). Each is one line on those.
    //
    // Runs a command through /bin/sh and waits for it, at most 30 s; false
    // when it could not be started or did not end in time (then ended).
    static bool execShell(const char* command);
    // Runs a command and keeps the start of its standard output in buf
    // (execShellOutput).
    static bool execShell(const char* command, char* buf, int size);
    // Battery readings of one battery; every call reads the state file
    // afresh, and the applet's width follows the power source it tells.
    int get_batteryStatusIndex(int index);
    // The status text of battery 0, whatever per says.
    QString get_batteryStatus(int per);
    s_batInfo get_batteryInfo(int index);
    int GetBatteryLife(int iCycleCount, int LastFullCapacity, int DesignCapacity);
    QString FormatPer(int per);
    // The scheme in force for the current power source.
    QString get_CurScheme();
    // Writes the scheme into the key of the current power source and reloads the daemon.
    void changeScheme(QString strScheme);
    // The user chose a scheme entry: apply its scheme (the mark follows).
    void ChangeSchemeSel(int menuID);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* pevent) override;
    void resizeEvent(QResizeEvent* e) override;

private Q_SLOTS:
    void slot_start_PM();
    void slot_show_percentage();
    void slot_show_time();
    void transfer_draw_icon();
    void slot_quit();
    void slot_PM_exit(KProcess*);
    void slot_scheme_click(int menuID);

private:
    // The battery source this machine has (machine/): the module's files,
    // or UPower, whose every change repaints at once.
    std::unique_ptr<batteries::Source> makeBatterySource();
    // Keeps the width in step with the power source a battery told.
    void takeStatus(int acIndex);
    // Battery n's readings from one reading of its state file, the width
    // kept in step with the power source it tells; none for n < 0.
    s_batInfo readBattery(int index);
    // Reads the batteries in bays 0 and 1 as they are now, counts them and
    // keeps the width in step with what they say.
    GaugeView readView();
    // The status index of the battery that tells the power source.
    int powerSourceStatus();
    void showPercentage(bool bShowPer);

    bool m_bOldStatus;
    int m_iBatNum;
    bool m_bShowPer;
    KPanelApplet* m_parent;
    std::unique_ptr<batteries::Source> m_batteries;
    std::unique_ptr<SchemeMenu> m_schemeMenu;
    std::unique_ptr<KPopupMenu> m_rMenu;
    std::unique_ptr<GaugePainter> m_painter;
    std::unique_ptr<DisplayChoice> m_displayChoice;
    QTimer* update_timer;
    KProcess* m_processPM;
    std::optional<int> m_tipPer;
    QString m_tipNote; // the schemes' line of the tool tip, as last shown
    LowBatteryWarning m_lowBattery;
    // What the tool tip and the last painting showed: a refresh that finds
    // the same leaves both alone.
    std::optional<GaugeView> m_tipShown;
    std::optional<GaugeView> m_painted;
};
