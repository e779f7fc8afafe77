// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The left menu: its title, an entry per scheme offered with the check
// mark on the scheme in force, the display submenu and the launch of the
// power manager; and the switch of the scheme that an entry chooses. The
// schemes, the one in force and the switch come from the schemes' interface
// (schemes/schemebackend.h), by the applet's rules.

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class KPopupMenu;
class QObject;
class QPixmap;

namespace schemes {
class SchemeBackend;
class SchemeSwitch;
struct SwitchResult;
} // namespace schemes

// Ids of the scheme entries of the menu.
struct SchemeMenuIDs
{
    int menuID[20]; // slots 0 to count - 1 are in use, in menu order
    int curID;      // the entry with the check mark; 100 while none has it
    int count;
    int beginID; // menu position of the first scheme entry
};

// Where the menu's activations go: a receiver and its slots.
struct SchemeMenuActions
{
    const QObject* receiver;
    const char* entryActivated; // takes the id of the activated entry
    const char* showPercentage;
    const char* showTime;
    const char* launch;
};

class SchemeMenu
{
public:
    // statusIndex gives the status index of battery 0: it picks the row of
    // the scheme tables for the power source.
    SchemeMenu(std::function<int()> statusIndex, const SchemeMenuActions& actions);
    ~SchemeMenu();
    SchemeMenu(const SchemeMenu&) = delete;
    SchemeMenu& operator=(const SchemeMenu&) = delete;

    // Builds the whole menu (bFull) or only its scheme entries anew, and
    // marks the scheme in force.
    void make(bool bFull, bool showPer);
    // Marks the entry of the scheme in force; marking is bookkeeping only.
    void markCurrent();
    // The scheme in force for the current power source.
    QString currentScheme();
    // Makes the scheme the one of the current power source through the one
    // switch: run by root at once, otherwise through the switch helper,
    // beside the event loop. The mark follows the file once it has ended.
    // A choice made while a switch runs is made next (only the last one).
    void changeScheme(const QString& strScheme);
    // The user chose a scheme entry: apply its scheme (the mark follows).
    void choose(int menuID);
    // True while a switch runs (through the helper).
    bool switching() const;
    // An activated entry: a scheme entry chooses its scheme, others nothing.
    void activate(int menuID);
    // A reading of the power source (the status index of battery 0: -1
    // none, 0 charging, 1 on the battery, 2 full): a change of source puts
    // the scheme chosen for the new one in force, where the schemes' store
    // does not do so itself. A reading without a status changes nothing.
    void powerSourceSeen(int status);
    // A line the gauge's tool tip adds (degraded performance); empty: none.
    QString toolTipNote() const;
    // The display submenu's check mark on the percentage or on the time.
    void checkDisplay(bool showPer);

    KPopupMenu* menu() const { return m_menu.get(); }

private:
    // Row of the scheme tables: 0 on mains power (charging or full), 1 otherwise.
    int powerSourceRow();
    void makeFixedEntries(bool showPer);
    void insertSchemeEntries();
    // The disabled line saying who holds the scheme in force, if anyone does.
    void insertHoldNote();
    // The slot of a scheme entry in m_ids.menuID; -1 for any other entry.
    int slotOf(int menuID) const;
    void moveCheckMark(int menuID);
    // One switch at a time: a choice made while one runs waits its turn.
    void switchTo(const QByteArray& scheme);
    void startSwitch(const QByteArray& scheme);
    void switchEnded(const schemes::SwitchResult& result);

    std::function<int()> m_statusIndex;
    SchemeMenuActions m_actions;
    std::unique_ptr<schemes::SchemeBackend> m_schemes;
    SchemeMenuIDs m_ids{};
    QList<QByteArray> m_schemeIds; // of the entries in m_ids.menuID, in the same order
    int m_holdID = 0;              // the hold's line; 0 while the menu has none
    std::optional<int> m_lastRow;  // the power source's row at the last reading
    int m_showPerID = 0;
    int m_showTimeID = 0;
    std::unique_ptr<QPixmap> m_titleIcon;
    // The submenu outlives the menu that shows it.
    std::unique_ptr<KPopupMenu> m_displayMenu;
    std::unique_ptr<KPopupMenu> m_menu;
    std::unique_ptr<schemes::SchemeSwitch> m_switch;
    // The last choice made while a switch ran: the next switch.
    std::optional<QByteArray> m_nextScheme;
};
