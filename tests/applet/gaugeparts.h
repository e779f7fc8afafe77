// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The gauge's and the applet's parts as a user or a screen reader finds
// them, not through accessors of the product: the menus through their own
// entries and the top-level windows, the launch and the switch through Qt's
// object tree, the batteries through the readings the gauge takes.

#include "applet/batteryreadings.h"
#include "applet/gaugeview.h"
#include "applet/graphframe.h"
#include "applet/pmapplet.h"
#include "batteries/modulefiles.h"
#include "schemes/schemebackend.h"

#include <kaboutdialog.h>
#include <kpopupmenu.h>
#include <kprocess.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QList>
#include <QWidget>

namespace gaugeparts {

// The left menu's display submenu: the one entry that opens a submenu.
inline KPopupMenu* displayMenu(const GraphFrame* frame)
{
    for (QAction* action : frame->leftMenu()->actions()) {
        if (auto* submenu = qobject_cast<KPopupMenu*>(action->menu())) {
            return submenu;
        }
    }
    return nullptr;
}

// The display submenu's entries: the percentage first, then the time.
inline int showPercentageID(const GraphFrame* frame)
{
    return displayMenu(frame)->idAt(0);
}
inline int showTimeID(const GraphFrame* frame)
{
    return displayMenu(frame)->idAt(1);
}

// The display choice as the submenu's check marks show it: the percentage
// when its entry alone is checked.
inline bool showsPercentage(const GraphFrame* frame)
{
    const KPopupMenu* menu = displayMenu(frame);
    return menu->isItemChecked(showPercentageID(frame)) && !menu->isItemChecked(showTimeID(frame));
}

// The one top-level window of type Window that the predicate takes; null
// when there is none or more than one.
template <typename Window, typename Predicate> Window* onlyWindow(Predicate takes)
{
    Window* found = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = qobject_cast<Window*>(widget);
        if (!window || !takes(window)) {
            continue;
        }
        if (found) {
            return nullptr;
        }
        found = window;
    }
    return found;
}

// The gauge's second menu, with "&Quit": a window of its own named like the
// left menu ("main_menu"). Null unless exactly one such menu besides the
// left one is there, as with one gauge alive.
inline KPopupMenu* secondMenu(const GraphFrame* frame)
{
    const KPopupMenu* left = frame->leftMenu();
    return onlyWindow<KPopupMenu>([left](const KPopupMenu* menu) {
        return menu != left && menu->objectName() == left->objectName();
    });
}

// Menu position of the first scheme entry: right after the title.
inline int firstSchemePosition(const GraphFrame* frame)
{
    const QList<QAction*> actions = frame->leftMenu()->actions();
    for (int i = 0; i < actions.size(); ++i) {
        if (!actions[i]->isSeparator() && !actions[i]->isEnabled()) {
            return i + 1;
        }
    }
    return 0;
}

// The scheme entries' ids in menu order: the entries between the title and
// the first separator.
inline QList<int> schemeEntryIds(const GraphFrame* frame)
{
    const KPopupMenu* menu = frame->leftMenu();
    const QList<QAction*> actions = menu->actions();
    QList<int> ids;
    for (int i = firstSchemePosition(frame); i < actions.size() && !actions[i]->isSeparator();
         ++i) {
        ids << menu->idAt(i);
    }
    return ids;
}

// The scheme entry with the check mark; 100 while none has it.
inline int markedSchemeId(const GraphFrame* frame)
{
    for (const int id : schemeEntryIds(frame)) {
        if (frame->leftMenu()->isItemChecked(id)) {
            return id;
        }
    }
    return 100;
}

// True while the power manager's launch runs: its process, a child of the
// gauge until the launch has ended and it is deleted.
inline bool launchRunning(const GraphFrame* frame)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return frame->findChild<KProcess*>() != nullptr;
}

// True while a scheme switch through the switch helper runs: the switch
// is a child of the menu the scheme was chosen from.
inline bool switchingScheme(const GraphFrame* frame)
{
    const auto* switcher = frame->leftMenu()->findChild<schemes::SchemeSwitch*>();
    return switcher && switcher->isRunning();
}

// Battery n's readings as the gauge takes them from its state file.
inline BatteryInfo readingsOf(int index)
{
    return batteries::ModuleFiles().bay(index).info;
}

// The batteries the gauge counts, in bays 0 and 1.
inline int batteriesInBays()
{
    batteries::ModuleFiles files;
    return battery::viewOf(files.bay(0), files.bay(1)).batteries;
}

// The applet's gauge: its child widget.
inline GraphFrame* gaugeOf(const OvraApplet* applet)
{
    return applet->findChild<GraphFrame*>();
}

// The about dialog: a window of its own. Null unless exactly one is there.
inline KAboutDialog* aboutDialog()
{
    return onlyWindow<KAboutDialog>([](const KAboutDialog*) { return true; });
}

} // namespace gaugeparts
