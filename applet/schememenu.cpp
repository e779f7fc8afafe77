// SPDX-License-Identifier: GPL-2.0-or-later
#include "schememenu.h"

#include "appletnotices.h"
#include "comm.h"
#include "pmapplet.h"
#include "translated.h"

#include "machine/powersettings.h"
#include "powerprofiles/schemesofthismachine.h"

#include <kpopupmenu.h>

#include <QAction>
#include <QFile>
#include <QPixmap>

#include <utility>

SchemeMenu::SchemeMenu(std::function<int()> statusIndex, const SchemeMenuActions& actions)
    : m_statusIndex(std::move(statusIndex)), m_actions(actions),
      m_schemes(powerprofiles::schemesOfThisMachine(powerdaemon::Rules::Applet)),
      m_titleIcon(load_qpixmap(m_strMainIconPath))
{
    m_ids.count = 0;
    m_ids.curID = 100;
}

SchemeMenu::~SchemeMenu() = default;

void SchemeMenu::make(bool bFull, bool showPer)
{
    if (bFull) {
        m_ids.count = 0;
        m_ids.beginID = 1;
        if (m_menu) {
            m_menu->clear();
        } else {
            m_menu = std::make_unique<KPopupMenu>(nullptr, m_strMainMenu);
        }
        m_menu->insertTitle(m_titleIcon ? *m_titleIcon : QPixmap(), translated(m_strMenuTitle), -1,
                            0);
    } else {
        for (int i = 0; i < m_ids.count; ++i) {
            m_menu->removeItem(m_ids.menuID[i]);
        }
        m_ids.count = 0;
        if (m_holdID != 0) {
            m_menu->removeItem(m_holdID);
        }
    }
    m_holdID = 0;

    insertSchemeEntries();
    insertHoldNote();
    markCurrent();
    if (bFull) {
        makeFixedEntries(showPer);
    }
}

void SchemeMenu::makeFixedEntries(bool showPer)
{
    QObject::connect(m_menu.get(), SIGNAL(activated(int)), m_actions.receiver,
                     m_actions.entryActivated, Qt::UniqueConnection);
    m_menu->insertSeparator(100);

    if (m_displayMenu) {
        m_displayMenu->clear();
    } else {
        m_displayMenu = std::make_unique<KPopupMenu>(
            nullptr, translated(m_strArrayMenu[0]).toUtf8().constData());
    }
    m_showPerID = m_displayMenu->insertItem(translated(m_strArrayMenu[1]), m_actions.receiver,
                                            m_actions.showPercentage);
    m_showTimeID = m_displayMenu->insertItem(translated(m_strArrayMenu[2]), m_actions.receiver,
                                             m_actions.showTime);
    m_displayMenu->setItemChecked(showPer ? m_showPerID : m_showTimeID, true);

    m_menu->insertItem(translated(m_strArrayMenu[0]), m_displayMenu.get());
    m_menu->insertSeparator();
    const int launchID =
        m_menu->insertItem(translated(m_strArrayMenu[3]), m_actions.receiver, m_actions.launch);
    // Nothing to launch: the entry says why instead.
    const machine::PowerSettings settings = machine::powerSettings();
    if (settings.kind == machine::PowerSettings::Kind::None) {
        m_menu->setItemEnabled(launchID, false);
        m_menu->actionForId(launchID)->setToolTip(settings.whyNone);
        m_menu->setToolTipsVisible(true);
    }
}

void SchemeMenu::insertSchemeEntries()
{
    m_schemeIds.clear();
    const int slotCount = int(sizeof m_ids.menuID / sizeof m_ids.menuID[0]);
    for (const schemes::SchemeEntry& entry : m_schemes->entries()) {
        // The first schemes in menu order fill the slots; the rest are not offered.
        if (m_ids.count == slotCount) {
            break;
        }
        const int id = m_menu->insertItem(entry.label, -1, m_ids.beginID + m_ids.count);
        m_ids.menuID[m_ids.count++] = id;
        m_schemeIds.append(entry.id);
    }
}

void SchemeMenu::insertHoldNote()
{
    // Who holds the profile in force, as a line that chooses nothing.
    const QString note = m_schemes->holdNote();
    if (note.isEmpty()) {
        return;
    }
    m_holdID = m_menu->insertItem(note, -1, m_ids.beginID + m_ids.count);
    m_menu->setItemEnabled(m_holdID, false);
}

void SchemeMenu::powerSourceSeen(int status)
{
    // No battery told the source (none present, or its service restarting):
    // no change of source, whatever the schemes' row takes then.
    if (status < 0) {
        return;
    }
    const int row = status == 1 ? 1 : 0;
    if (m_lastRow && *m_lastRow != row) {
        m_schemes->powerSourceChanged(row == 1);
    }
    m_lastRow = row;
}

QString SchemeMenu::toolTipNote() const
{
    return m_schemes->degradedNote();
}

int SchemeMenu::slotOf(int menuID) const
{
    for (int i = 0; i < m_ids.count; ++i) {
        if (m_ids.menuID[i] == menuID) {
            return i;
        }
    }
    return -1;
}

void SchemeMenu::markCurrent()
{
    const QByteArray inForce = QFile::encodeName(currentScheme());
    for (int i = 0; i < m_ids.count; ++i) {
        if (m_schemeIds[i] == inForce) {
            moveCheckMark(m_ids.menuID[i]);
        }
    }
}

void SchemeMenu::moveCheckMark(int menuID)
{
    if (menuID == m_ids.curID) {
        return;
    }
    if (m_ids.curID != 100) {
        m_menu->setItemChecked(m_ids.curID, false);
    }
    m_ids.curID = menuID;
    m_menu->setItemChecked(menuID, true);
}

int SchemeMenu::powerSourceRow()
{
    const int status = m_statusIndex();
    return status == 0 || status == 2 ? 0 : 1;
}

QString SchemeMenu::currentScheme()
{
    const int index = powerSourceRow();
    const schemes::SchemesInForce inForce = m_schemes->inForce();
    const QByteArray scheme = index == 0 ? inForce.mains : inForce.battery;
    // Also when the file could not be read: the row's default.
    return scheme.isEmpty() ? QString::fromLatin1(m_strArrayDefScheme[index])
                            : QFile::decodeName(scheme);
}

void SchemeMenu::changeScheme(const QString& strScheme)
{
    switchTo(QFile::encodeName(strScheme));
}

void SchemeMenu::choose(int menuID)
{
    const int slot = slotOf(menuID);
    if (menuID != m_ids.curID && slot >= 0) {
        switchTo(m_schemeIds[slot]);
        // The mark shows the choice taken while its switch runs or waits.
        if (switching()) {
            moveCheckMark(menuID);
        }
    }
}

bool SchemeMenu::switching() const
{
    return m_switch && m_switch->isRunning();
}

void SchemeMenu::switchTo(const QByteArray& scheme)
{
    if (switching()) {
        m_nextScheme = scheme;
        return;
    }
    startSwitch(scheme);
}

void SchemeMenu::startSwitch(const QByteArray& scheme)
{
    schemes::SchemeChoice choice;
    (powerSourceRow() == 0 ? choice.mains : choice.battery) = scheme;
    // The switch that ended may be the one emitting: it goes later, and
    // leaves the menu now.
    if (m_switch) {
        schemes::SchemeSwitch* ended = m_switch.release();
        ended->setParent(nullptr);
        ended->deleteLater();
    }
    // A child of the menu it was chosen from, for as long as it is kept.
    m_switch = m_schemes->prepareSwitch(choice, m_menu.get());
    QObject::connect(m_switch.get(), &schemes::SchemeSwitch::finished,
                     [this](const schemes::SwitchResult& result) { switchEnded(result); });
    m_switch->start();
}

void SchemeMenu::switchEnded(const schemes::SwitchResult& result)
{
    notices::switchEnded(result);
    if (m_nextScheme) {
        const QByteArray next = *m_nextScheme;
        m_nextScheme.reset();
        startSwitch(next);
        if (switching()) {
            return;
        }
    }
    // The mark follows the file, which holds the scheme now if it was
    // saved; it leaves the choice it showed also when the file names none.
    if (m_ids.curID != 100) {
        m_menu->setItemChecked(m_ids.curID, false);
        m_ids.curID = 100;
    }
    markCurrent();
}

void SchemeMenu::activate(int menuID)
{
    const QString strItem = m_menu->text(menuID);
    if (strItem.isNull()) {
        return;
    }
    // An entry holding one of the fixed entries' texts is no scheme.
    for (const char* fixed : m_strArrayMenu) {
        if (strItem.contains(QString::fromUtf8(fixed))) {
            return;
        }
    }
    // Only scheme entries choose a scheme: the title and the fixed entries,
    // in whatever language they read, are known by their ids.
    if (slotOf(menuID) < 0) {
        return;
    }
    choose(menuID);
}

void SchemeMenu::checkDisplay(bool showPer)
{
    if (!m_displayMenu) {
        return;
    }
    m_displayMenu->setItemChecked(m_showTimeID, !showPer);
    m_displayMenu->setItemChecked(m_showPerID, showPer);
}
