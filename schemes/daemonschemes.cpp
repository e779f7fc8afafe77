// SPDX-License-Identifier: GPL-2.0-or-later
#include "daemonschemes.h"
#include "bytesview.h"
#include "catalogue.h"
#include "switchclient.h"

#include "powerdaemon/boundedread.h"
#include "powerdaemon/powersavedaemon.h"

#include <QDir>
#include <QFile>

#include <dirent.h>
#include <fnmatch.h>

namespace schemes {

namespace {

using powerdaemon::Rules;

void addIfOffered(QList<SchemeEntry>& entries, Rules rules, const QByteArray& name)
{
    // A name the file could not hold safely is not offered.
    if (powerdaemon::isListedScheme(rules, bytesView(name)) &&
        powerdaemon::isSafeSchemeName(bytesView(name))) {
        entries.append({name, QFile::decodeName(name)});
    }
}

QList<SchemeEntry> popupEntries()
{
    // Not sorted: the order the daemon's folder yields.
    QList<SchemeEntry> entries;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(powerdaemon::SchemeDir), closedir);
    if (!dir) {
        return entries;
    }
    while (const dirent* entry = readdir(dir.get())) {
        if (fnmatch(powerdaemon::SchemePattern, entry->d_name, 0) == 0) {
            addIfOffered(entries, Rules::Popup,
                         QByteArray(entry->d_name).mid(powerdaemon::SchemeFileHeadLength));
        }
    }
    return entries;
}

QList<SchemeEntry> appletEntries()
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
    const QDir folder(QString::fromLatin1(powerdaemon::ProductSchemeDir),
                      plainPrefix ? QString() : nameFilter, QDir::Size | QDir::Reversed,
                      QDir::Files | QDir::NoSymLinks | QDir::Hidden | QDir::CaseSensitive);
    QList<SchemeEntry> entries;
    for (const QString& fileName : folder.entryList()) {
        if ((plainPrefix && !fileName.startsWith(prefix)) ||
            !fileName.contains(QLatin1String(powerdaemon::SchemeFileHead))) {
            continue;
        }
        addIfOffered(entries, Rules::Applet,
                     QFile::encodeName(fileName.mid(powerdaemon::SchemeFileHeadLength)));
    }
    return entries;
}

} // namespace

QList<SchemeEntry> DaemonSchemes::entries() const
{
    return m_rules == Rules::Popup ? popupEntries() : appletEntries();
}

SchemesInForce DaemonSchemes::inForce() const
{
    SchemesInForce inForce;
    powerdaemon::FileError failure;
    const auto text = powerdaemon::readRegularFile(powerdaemon::CommonFile,
                                                   powerdaemon::ConfigFileLimit, failure);
    if (!text) {
        inForce.failure = failure;
        return inForce;
    }
    inForce.mains = QByteArray::fromStdString(
        powerdaemon::readSchemeKey(m_rules, *text, powerdaemon::AcSchemeKey));
    inForce.battery = QByteArray::fromStdString(
        powerdaemon::readSchemeKey(m_rules, *text, powerdaemon::BatterySchemeKey));
    return inForce;
}

bool DaemonSchemes::switchMayAsk() const
{
    return SwitchClient::runsThroughHelper();
}

std::unique_ptr<SchemeSwitch> DaemonSchemes::prepareSwitch(const SchemeChoice& choice,
                                                           QObject* parent) const
{
    return std::make_unique<SwitchClient>(m_rules, choice, parent);
}

} // namespace schemes
