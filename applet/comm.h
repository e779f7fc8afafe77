// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Constants of the panel applet: sizes, paths, command lines and the texts of
// its menus and tool tip. Shared by the applet shell and the battery gauge.
// The daemon's paths and the command lines of a switch are the ones the
// popup and the switch helper know too (powerdaemon/powersavedaemon.h), the
// battery module's paths and labels the ones the popup reads (batteries/).

#include "batteries/statefile.h"
#include "powerdaemon/powersavedaemon.h"
// I18N_NOOP marks a text for the catalogue extractor.
#include "schemes/catalogue.h"

// Sizes in pixels, and the refresh period.
constexpr int m_iACWidth = 150;       // applet width on mains power (room for the mains icon)
constexpr int m_iBatWidth = 110;      // applet width on the battery
constexpr int m_iMidWidth = 10;       // gap between the mains icon and the right edge
constexpr int m_iMarginWidth = 5;     // left and top margin of the bar
constexpr int m_iTopWidth = 4;        // width of the bar's terminal nub
constexpr int m_iTopHeight = 10;      // height of the bar's terminal nub
constexpr int m_iconSize = 32;        // width reserved for the mains icon
constexpr int m_iFrameLineWidth = 2;  // pen width of the bar outline
constexpr int m_iTimeInterval = 5000; // refresh period in milliseconds

// The applet's object, interface and catalogue name.
inline constexpr const auto& m_strIFace = schemes::CatalogueDomain;

// The battery module, its directory and its state files; the labels of a
// state file, each with its colon, in the module's order; the values of
// "AC attached:", whose index is the status index (batteries/).
inline constexpr const auto& m_strPathBatInfo = batteries::ModuleDir;
constexpr char m_strFileBatModule[] = "insmod /opt/nexalt/install/batinfo.ko &>/dev/null";
inline constexpr const auto& m_fBatFileState = batteries::StateFileFormat;
inline constexpr const auto& m_ArrayBatState = batteries::StateLabels;
inline constexpr const auto& m_strACstatus = batteries::MainsWords;
// Status texts, indexed by the status index 0 to 2; the tool tip starts with one.
constexpr char m_strArrayBatStatus[3][24] = {
    I18N_NOOP("charging"),
    I18N_NOOP("Running on batteries"),
    I18N_NOOP("full charged"),
};

// Icons.
constexpr char m_strMainIconPath[] = "/opt/nexalt/pm/bin/res/main.png";
constexpr char m_strACIconPath[] = "/opt/nexalt/pm/bin/res/ac.png";

// Command lines.
constexpr char m_strIdletimeStart[] = "/opt/nexalt/pm/idletime.sh start &>/dev/null";
inline constexpr const auto& m_strIdletimeRestart = powerdaemon::AppletIdletimeRestartCommand;
inline constexpr const auto& m_strUpdatePS = powerdaemon::AppletReloadCommand;
constexpr char m_strPMPath[] = "/opt/nexalt/pm/pm.sh start &>/dev/null";
constexpr char m_strQuitOvra[] = "/opt/nexalt/pm/ovra.sh stop";

// Message on standard error.
constexpr char m_strArrayError[1][24] = {"PM is still running.\n"};

// Menus.
constexpr char m_strMenuTitle[] = I18N_NOOP("Ovra- Ovra Tools");
constexpr char m_strMainMenu[] = "main_menu";
constexpr char m_strArrayMenu[5][40] = {
    I18N_NOOP("show"),
    I18N_NOOP("remaining percentage"),
    I18N_NOOP("remaining time when use battery"),
    I18N_NOOP("Launch Power Manager ..."),
    I18N_NOOP("&Quit"),
};

// The power daemon's configuration and the scheme files.
inline constexpr const auto& m_strCommFile = powerdaemon::CommonFile;
// Rows: 0 on mains power, 1 on the battery.
constexpr char m_strArrayKeyScheme[2][16] = {"AC_SCHEME", "BATTERY_SCHEME"};
constexpr char m_strArrayDefScheme[2][16] = {"'powersave", "performance"};
inline constexpr const auto& m_strPMSchemePath = powerdaemon::ProductSchemeDir;
inline constexpr const auto& m_strSchemeFileHead = powerdaemon::SchemeFileHead;

// Gauge and tool tip.
// TRANSLATORS: separates status, time and percentage in the tool tip.
constexpr char m_strShowTip[] = I18N_NOOP(" -- ");
constexpr char m_strNoBattery[] = "No battery";

// About dialog.
constexpr char VERSION[] = "1.0";
constexpr char AUTHOR[] = "Varnel";
constexpr char AUTHOR_EMAIL[] = "";
