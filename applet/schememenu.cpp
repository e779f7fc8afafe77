// SPDX-License-Identifier: GPL-2.0-or-later
#include "schememenu.h"

#include "appletnotices.h"
#include "boundedfile.h"
#include "comm.h"
#include "execshell.h"
#include "pmapplet.h"
#include "schemeconfig.h"
#include "schemeswitcher.h"
#include "translated.h"

#include <kpopupmenu.h>

#include <QDir>
#include <QFile>
#include <QPixmap>

#include <cstdio>
#include <utility>

#include "powerdaemon/helpercall.h"
#include "powerdaemon/schemerules.h"
#include "powerdaemon/shellcommand.h"

#include <unistd.h>

namespace {

// Why a scheme was not saved when no line of the file assigns the key: the
// same words after a write of the applet's own and after the helper's.
QString noKeyReason(const QByteArray& key)
{
    // TRANSLATORS: why a scheme was not saved; %1 is the file's path, %2 the key.
    const QString reason = translated(I18N_NOOP("%1 has no %2 setting."));
    return reason.arg(QString::fromLatin1(m_strCommFile), QString::fromLatin1(key));
}

} // namespace

SchemeMenu::SchemeMenu(std::function<int()> statusIndex, const SchemeMenuActions& actions)
    : m_statusIndex(std::move(statusIndex)), m_actions(actions),
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
    }

    insertSchemeEntries();
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
    m_menu->insertItem(translated(m_strArrayMenu[3]), m_actions.receiver, m_actions.launch);
}

void SchemeMenu::insertSchemeEntries()
{
    // TRANSLATORS: the scheme files' name pattern; keep it unchanged.
    const QString nameFilter = translated(I18N_NOOP("scheme_")) + translated(I18N_NOOP("*"));
    // A pattern that is a plain name followed by one "*" is matched here by
    // its prefix: QDir's name filters compile a regular expression, whose
    // library costs the panel some 400 KiB of resident memory.
    const QString prefix = nameFilter.chopped(1);
    const bool plainPrefix =
        nameFilter.endsWith(QLatin1Char('*')) && !prefix.contains(QLatin1Char('*')) &&
        !prefix.contains(QLatin1Char('?')) && !prefix.contains(QLatin1Char('['));
    // Matched with case, as the shell matches its patterns: QDir's name
    // filters ignore case unless told otherwise.
    const QDir schemes(QString::fromLatin1(m_strPMSchemePath), plainPrefix ? QString() : nameFilter,
                       QDir::Size | QDir::Reversed,
                       QDir::Files | QDir::NoSymLinks | QDir::Hidden | QDir::CaseSensitive);
    const int slotCount = int(sizeof m_ids.menuID / sizeof m_ids.menuID[0]);
    for (const QString& fileName : schemes.entryList()) {
        if (plainPrefix && !fileName.startsWith(prefix)) {
            continue;
        }
        // The first schemes in menu order fill the slots; the rest are not offered.
        if (m_ids.count == slotCount) {
            break;
        }
        if (!fileName.contains(QLatin1String(m_strSchemeFileHead))) {
            continue;
        }
        const QString name = fileName.mid(7);
        const QByteArray encoded = QFile::encodeName(name);
        if (!powerdaemon::isListedScheme(powerdaemon::Rules::Applet,
                                         std::string_view(encoded.constData(), encoded.size()))) {
            continue;
        }
        // A name that could not be written safely is not offered.
        if (!isSafeSchemeValue(QFile::encodeName(name))) {
            continue;
        }
        const int id = m_menu->insertItem(name, -1, m_ids.beginID + m_ids.count);
        m_ids.menuID[m_ids.count++] = id;
    }
}

bool SchemeMenu::isSchemeEntry(int menuID) const
{
    for (int i = 0; i < m_ids.count; ++i) {
        if (m_ids.menuID[i] == menuID) {
            return true;
        }
    }
    return false;
}

void SchemeMenu::markCurrent()
{
    const QString schemeName = currentScheme();
    for (int i = 0; i < m_ids.count; ++i) {
        if (m_menu->text(m_ids.menuID[i]) == schemeName) {
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
    QString strScheme;
    if (const std::optional<QByteArray> text = readConfigText(m_strCommFile)) {
        strScheme = QFile::decodeName(readSchemeValue(*text, m_strArrayKeyScheme[index]));
    }
    if (strScheme.isEmpty()) {
        strScheme = QString::fromLatin1(m_strArrayDefScheme[index]);
    }
    return strScheme;
}

void SchemeMenu::changeScheme(const QString& strScheme)
{
    // Only root writes the root-owned file: anyone else asks the helper.
    if (getuid() != 0) {
        switchThroughHelper(strScheme);
        return;
    }
    const QByteArray key = m_strArrayKeyScheme[powerSourceRow()];
    const QByteArray value = QFile::encodeName(strScheme);
    // A refused name changes nothing, so there is nothing to reload. A file
    // that could not be read or written still gets the reload, as before:
    // the daemon may take up a change made by others.
    const SchemeWrite written = writeSchemeValue(m_strCommFile, key, value);
    if (written == SchemeWrite::Refused) {
        return;
    }
    const bool reloaded = execShellSucceeded(m_strUpdatePS);
    execShell(m_strIdletimeRestart);
    // Told once the commands have run, so that no notice holds them up.
    const QString fileName = QString::fromLatin1(m_strCommFile);
    if (written == SchemeWrite::Failed) {
        // TRANSLATORS: why a scheme was not saved; %1 is the file's path.
        const QString reason = translated(I18N_NOOP("%1 could not be written."));
        // writeSchemeValue has said why on standard error.
        notices::schemeNotSaved(strScheme, reason.arg(fileName), notices::Fallback::AlreadySaid);
    } else if (written == SchemeWrite::NoKey) {
        notices::schemeNotSaved(strScheme, noKeyReason(key), notices::Fallback::Line);
    }
    if (!reloaded) {
        notices::schemeNotApplied(strScheme);
    }
}

void SchemeMenu::choose(int menuID)
{
    if (menuID == m_ids.curID) {
        return;
    }
    if (getuid() != 0) {
        changeScheme(m_menu->text(menuID));
        return;
    }
    if (m_ids.curID != 100) {
        m_menu->setItemChecked(m_ids.curID, false);
    }
    changeScheme(m_menu->text(menuID));
    m_ids.curID = menuID;
    m_menu->setItemChecked(menuID, true);
}

bool SchemeMenu::switching() const
{
    return m_switcher && m_switcher->isRunning();
}

void SchemeMenu::switchThroughHelper(const QString& scheme)
{
    // One switch at a time: a choice made while one runs is not taken.
    if (switching()) {
        return;
    }
    const QByteArray key = m_strArrayKeyScheme[powerSourceRow()];
    // A child of the menu it was chosen from, for as long as it is kept.
    m_switcher = std::make_unique<SchemeSwitcher>(m_menu.get());
    QObject::connect(m_switcher.get(), &SchemeSwitcher::finished, m_menu.get(),
                     [this, scheme, key](const SchemeSwitcherResult& result) {
                         tellSwitchEnded(scheme, key, result);
                         // The mark follows the file, which holds the scheme now
                         // if the switch took effect.
                         if (result.report && result.report->tookEffect()) {
                             markCurrent();
                         }
                     });
    m_switcher->start(key, scheme);
}

void SchemeMenu::tellSwitchEnded(const QString& scheme, const QByteArray& key,
                                 const SchemeSwitcherResult& result)
{
    if (!result.report) {
        // TRANSLATORS: why a scheme was not switched: polkit did not authorise the user.
        QString reason = translated(I18N_NOOP("you are not authorized to switch power schemes."));
        // pkexec's own words only when they say more than that.
        if (powerdaemon::pkexecSaysMore(result.message.toStdString())) {
            reason += QLatin1Char(' ') + result.message;
        }
        notices::schemeNotSaved(scheme, reason, notices::Fallback::Line);
        return;
    }
    const powerdaemon::SwitchReport& report = *result.report;
    for (const std::string& command : report.stillRunning) {
        std::fprintf(stderr, "ovraapplet: command did not finish within %g s, ended: %s\n",
                     double(powerdaemon::CommandTimeLimit.count()), command.c_str());
    }
    if (report.refused) {
        notices::schemeNotSaved(scheme, QString::fromStdString(report.reason),
                                notices::Fallback::Line);
        return;
    }
    if (report.saved == powerdaemon::SwitchReport::Saved::Failed) {
        notices::schemeNotSaved(scheme, QString::fromStdString(report.reason),
                                notices::Fallback::Line);
    } else if (report.saved == powerdaemon::SwitchReport::Saved::NoKey) {
        notices::schemeNotSaved(scheme, noKeyReason(key), notices::Fallback::Line);
    }
    if (report.commandsRan && !report.accepted) {
        notices::schemeNotApplied(scheme);
    }
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
    if (!isSchemeEntry(menuID)) {
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
