// SPDX-License-Identifier: GPL-2.0-or-later
#include "klocale.h"

#include "installpaths.h"
#include "kglobal.h"
#include "libraryfolder.h"

#include <QDir>
#include <QFileInfo>

#include <libintl.h>

namespace {

// The folder holding this library: build/lib in the build tree, PREFIX/lib... once installed.
QString libraryDirectory()
{
    return folderOfLibraryHolding(reinterpret_cast<const void*>(&libraryDirectory));
}

bool hasCatalogue(const QString& directory, const QString& catalogue)
{
    if (directory.isEmpty()) {
        return false;
    }
    const QDir dir(directory);
    const QString mo = QStringLiteral("/LC_MESSAGES/") + catalogue + QStringLiteral(".mo");
    for (const QString& language : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (QFileInfo::exists(dir.filePath(language) + mo)) {
            return true;
        }
    }
    return false;
}

} // namespace

KLocale::KLocale() = default;

KLocale::~KLocale() = default;

QString KLocale::catalogueDirectory(const QString& catalogue)
{
    // An explicit folder first, then the build tree or installation this
    // library belongs to, then the configured and the system's folders.
    QStringList candidates;
    const QString fromEnvironment = qEnvironmentVariable("OVRA_LOCALEDIR");
    if (!fromEnvironment.isEmpty()) {
        candidates << fromEnvironment;
    }
    const QString libDir = libraryDirectory();
    if (!libDir.isEmpty()) {
        candidates << QDir::cleanPath(libDir + QStringLiteral("/../share/locale"))
                   << QDir::cleanPath(libDir + QStringLiteral("/../../share/locale"));
    }
    candidates << QStringLiteral(OVRA_INSTALL_LOCALEDIR) << QStringLiteral("/usr/share/locale");
    for (const QString& candidate : candidates) {
        if (hasCatalogue(candidate, catalogue)) {
            return candidate;
        }
    }
    return QStringLiteral(OVRA_INSTALL_LOCALEDIR);
}

void KLocale::insertCatalogue(const QString& catalogue)
{
    if (catalogue.isEmpty()) {
        return;
    }
    const QByteArray domain = catalogue.toUtf8();
    if (m_catalogues.isEmpty()) {
        m_originalDomain = textdomain(nullptr);
    }
    bindtextdomain(domain.constData(),
                   QFile::encodeName(catalogueDirectory(catalogue)).constData());
    // Applets read menu texts as UTF-8, whatever the locale's character set.
    bind_textdomain_codeset(domain.constData(), "UTF-8");
    m_catalogues.removeAll(catalogue);
    m_catalogues.prepend(catalogue);
    textdomain(domain.constData());
}

void KLocale::removeCatalogue(const QString& catalogue)
{
    if (!m_catalogues.removeAll(catalogue)) {
        return;
    }
    const QByteArray next =
        m_catalogues.isEmpty() ? m_originalDomain : m_catalogues.constFirst().toUtf8();
    textdomain(next.isEmpty() ? "messages" : next.constData());
}

QStringList KLocale::catalogues() const
{
    return m_catalogues;
}

QString KLocale::translate(const char* msgid) const
{
    if (!msgid) {
        return QString();
    }
    for (const QString& catalogue : m_catalogues) {
        const char* text = dgettext(catalogue.toUtf8().constData(), msgid);
        if (text != msgid) {
            return QString::fromUtf8(text);
        }
    }
    return QString::fromUtf8(msgid);
}

QString i18n(const char* text)
{
    return KGlobal::locale()->translate(text);
}
