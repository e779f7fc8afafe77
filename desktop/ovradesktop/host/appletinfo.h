// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ovradesktop_export.h"

#include <QString>
#include <QStringList>

/// What a panel applet's desktop entry says: its name, comment and icon, and
/// the library (X-KDE-Library, e.g. "libovraapplet") that holds its init().
struct OVRADESKTOP_EXPORT AppletInfo
{
    QString desktopFile; // absolute path of the entry
    QString name;
    QString comment;
    QString icon;
    QString library;
    bool hidden = false; // NoDisplay=true or Hidden=true: loaded only when named

    bool isValid() const { return !library.isEmpty(); }
    /// The entry's file name, which identifies the applet in the configuration.
    QString entryName() const;
    /// The library's name without "lib": the stem of per-instance configuration
    /// files ("applet" when that is empty or starts with ":").
    QString configStem() const;
    /// A new name for an instance's configuration file, as the KDE 3 panel
    /// made them: STEM_RANDOM_rc, naming neither a file of the user's
    /// configuration folder nor one of taken.
    QString newConfigFileName(const QStringList& taken = QStringList()) const;

    /// Reads an entry; on failure the result is invalid and error says why.
    static AppletInfo load(const QString& path, QString* error = nullptr);
};
