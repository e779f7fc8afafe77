// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ovradesktop_export.h"

#include <QByteArray>
#include <QList>
#include <QString>

/// A configuration file as KDE 3 kept them: "[Group]" lines and "key=value"
/// entries, the entries before the first group in the group "<default>".
/// A relative file name lies in the user's configuration folder
/// (QStandardPaths::GenericConfigLocation). Written entries are kept in
/// memory and written by sync(), or by the destructor: the file is read
/// again, every line that no written entry replaces keeps its bytes
/// (comments, unknown groups and keys), and the new text replaces the file
/// in one step. When the file cannot be written, the values stay in memory
/// and the file stays as it was.
class OVRADESKTOP_EXPORT KConfig
{
public:
    explicit KConfig(const QString& fileName);
    /// Writes what sync() has not written yet.
    ~KConfig();
    KConfig(const KConfig&) = delete;
    KConfig& operator=(const KConfig&) = delete;

    /// The file's path.
    QString fileName() const { return m_path; }

    /// The group that reads and writes address; "<default>" or empty for the
    /// entries before the first group.
    void setGroup(const QString& group);
    QString group() const { return m_group; }

    /// True when the file has a "[group]" line.
    bool hasGroup(const QString& group) const;
    bool hasKey(const QString& key) const;
    QString readEntry(const QString& key, const QString& aDefault = QString()) const;
    /// "true", "on", "yes" and "1" are true, "false", "off", "no" and "0"
    /// false (in any case); anything else, or no entry, gives the default.
    bool readBoolEntry(const QString& key, bool bDefault = false) const;

    void writeEntry(const QString& key, const QString& value);
    void writeEntry(const QString& key, const char* value);
    /// Writes "true" or "false".
    void writeEntry(const QString& key, bool value);

    /// Writes the entries written since the last sync; true when the file
    /// holds them (or there was nothing to write).
    bool sync();
    bool isDirty() const { return !m_pending.isEmpty(); }

private:
    struct Entry
    {
        QString group;
        QString key;
        QByteArray value; // as the file holds it, escaped
    };

    void load();

    QString m_path;
    QString m_group;
    QList<QByteArray> m_lines; // the file's lines, without their line ends
    QList<Entry> m_pending;    // written, not yet in the file
};
