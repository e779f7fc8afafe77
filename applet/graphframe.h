#pragma once
// The battery gauge that fills the panel applet: it reads the battery module's
// state files, paints the charge as a battery-shaped bar with a mains icon,
// keeps a tool tip, refreshes every five seconds and offers the scheme menu.

#include <QFrame>
#include <QString>

#include <chrono>
#include <optional>

class KPanelApplet;
class KPopupMenu;
class KProcess;
class QFont;
class QMouseEvent;
class QPaintEvent;
class QPainter;
class QPixmap;
class QResizeEvent;
class QTimer;

class GraphFrame : public QFrame
{
    Q_OBJECT

public:
    // One battery's readings.
    struct s_batInfo
    {
        float lastFullC; // capacity at the last full charge
        float nowC;      // remaining capacity, same unit
        int toFulltime;  // minutes until full
        int toNulltime;  // minutes until empty
        int perC;        // charge in percent
        int status;      // status index: -1 no reading, 0 charging, 1 on battery, 2 full
        bool bAC;        // true unless running on the battery
        int iTime;       // the time that applies now
    };

    // Ids of the scheme entries of the left menu.
    struct s_menuID
    {
        int menuID[20]; // slots 0 to count - 1 are in use, in menu order
        int curID;      // the entry with the check mark; 100 while none has it
        int count;
        int beginID; // menu position of the first scheme entry
    };

    GraphFrame(QWidget* parent, const char* name);
    ~GraphFrame() override;

    // Launches the power-manager program unless a launch still runs.
    void start_PM();
    void make_rmenu();
    // Runs a command through /bin/sh and waits for it, at most 30 s; false
    // when it could not be started or did not end in time (left running).
    static bool execShell(const char* command);
    static bool execShell(const char* command, std::chrono::milliseconds bound);
    // Runs a command and keeps the start of its standard output in buf.
    static bool execShell(const char* command, char* buf, int size);

    // Battery readings; every call reads the state file afresh.
    int get_batteryStatusIndex(int index);
    QString get_batteryStatus(int per);
    s_batInfo get_batteryInfo(int index);
    int GetBatteryLife(int iCycleCount, int LastFullCapacity, int DesignCapacity);
    void SetParentWidth(bool bLong);

    QString FormatTime(int time1, int time2);
    QString FormatPer(int per);
    // The charge of two batteries together; none when their full capacities
    // add up to nothing, since the quotient is then undefined.
    static std::optional<int> combinedPercentage(const s_batInfo& bat0, const s_batInfo& bat1);

    // The left menu: the scheme entries, the display submenu and the launch.
    void make_lmenu(bool bFull);
    // Marks the entry of the scheme in force; marking is bookkeeping only.
    void set_menu();
    // The scheme in force for the current power source.
    QString get_CurScheme();
    // Writes the scheme into the key of the current power source and reloads the daemon.
    void changeScheme(QString strScheme);
    // The user chose a scheme entry: mark it and apply its scheme.
    void ChangeSchemeSel(int menuID);

    // Read access for the applet and for tests.
    bool oldStatus() const { return m_bOldStatus; }
    int batteryCount() const { return m_iBatNum; }
    bool showsPercentage() const { return m_bShowPer; }
    bool launchRunning() const { return m_processPM != nullptr; }
    const s_menuID& menuIDs() const { return m_sMenuID; }
    int showPercentageID() const { return m_iShowPerID; }
    int showTimeID() const { return m_iShowTimeID; }
    KPopupMenu* leftMenu() const { return m_lMenu; }
    KPopupMenu* secondMenu() const { return m_rMenu; }
    KPopupMenu* showMenu() const { return m_subMenu; }
    // The charge in percent that the tool tip gives since the last refresh;
    // none without a battery or when two batteries' capacities are unknown.
    std::optional<int> tipPercentage() const { return m_tipPer; }

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
    // Keeps the width in step with the power source; returns the status index.
    int takeStatus(int acIndex, bool fullyCharged);
    // The text font: the widget's own, black weight and expanded.
    QFont heavyFont() const;
    void paintNoBattery(QPainter& painter);
    // Row of the scheme tables: 0 on mains power (charging or full), 1 otherwise.
    int powerSourceRow();
    void insertSchemeEntries();
    bool isSchemeEntry(int menuID) const;
    void moveCheckMark(int menuID);
    QString toolTipPercentage(std::optional<int> per);

    bool m_bOldStatus;
    int m_iBatNum;
    s_menuID m_sMenuID;
    bool m_bShowPer;
    int m_iShowPerID;
    int m_iShowTimeID;
    KPanelApplet* m_parent;
    KPopupMenu* m_lMenu;
    KPopupMenu* m_rMenu;
    KPopupMenu* m_subMenu;
    QTimer* update_timer;
    KProcess* m_processPM;
    QPixmap* main_icon;
    QPixmap* m_iconAC;
    std::optional<int> m_tipPer;
};
