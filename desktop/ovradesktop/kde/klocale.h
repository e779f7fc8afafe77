// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ovradesktop_export.h"

#include <QString>
#include <QStringList>

/// Message catalogues over the C library's gettext. Inserting a catalogue
/// binds its text domain (in UTF-8) and makes it the default domain, so plain
/// gettext() calls find its texts; removing it restores the domain inserted
/// before it (or the program's own). The default domain is one per process, so
/// code that shares its process with other catalogues (applets in one panel)
/// translates through its own domain with dgettext().
class OVRADESKTOP_EXPORT KLocale
{
public:
    KLocale();
    ~KLocale();
    KLocale(const KLocale&) = delete;
    KLocale& operator=(const KLocale&) = delete;

    void insertCatalogue(const QString& catalogue);
    void removeCatalogue(const QString& catalogue);
    /// The inserted catalogues, the last inserted first.
    QStringList catalogues() const;
    /// The text from the inserted catalogues (last inserted first) or msgid itself.
    QString translate(const char* msgid) const;
    /// The folder whose LANG/LC_MESSAGES/NAME.mo files back catalogue NAME.
    static QString catalogueDirectory(const QString& catalogue);

private:
    QStringList m_catalogues;
    QByteArray m_originalDomain;
};

/// Translates a text through the inserted catalogues.
OVRADESKTOP_EXPORT QString i18n(const char* text);
