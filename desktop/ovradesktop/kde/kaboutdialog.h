// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ovradesktop_export.h"

#include <QDialog>
#include <QPixmap>
#include <QString>

class QLabel;

/// An about box with the title, version, author and logo of a program.
class OVRADESKTOP_EXPORT KAboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit KAboutDialog(QWidget* parent = nullptr, const char* name = nullptr, bool modal = true);
    ~KAboutDialog() override;

    void setTitle(const QString& title);
    void setVersion(const QString& version);
    void setAuthor(const QString& name, const QString& email, const QString& url,
                   const QString& work);
    void setLogo(const QPixmap& logo);

    QString title() const { return m_title; }
    QString version() const { return m_version; }

private:
    QString m_title;
    QString m_version;
    QLabel* m_logoLabel = nullptr;
    QLabel* m_titleLabel = nullptr;
    QLabel* m_versionLabel = nullptr;
    QLabel* m_authorLabel = nullptr;
};
