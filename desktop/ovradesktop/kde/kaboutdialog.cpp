// SPDX-License-Identifier: GPL-2.0-or-later
#include "kaboutdialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

KAboutDialog::KAboutDialog(QWidget* parent, const char* name, bool modal) : QDialog(parent)
{
    if (name) {
        setObjectName(QString::fromLatin1(name));
    }
    setModal(modal);
    setWindowTitle(tr("About"));

    m_logoLabel = new QLabel(this);
    m_logoLabel->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    m_titleLabel = new QLabel(this);
    QFont titleFont = m_titleLabel->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    m_titleLabel->setFont(titleFont);
    m_versionLabel = new QLabel(this);
    m_authorLabel = new QLabel(this);
    m_authorLabel->setTextFormat(Qt::RichText);
    m_authorLabel->setOpenExternalLinks(true);
    m_authorLabel->setTextInteractionFlags(Qt::TextBrowserInteraction);

    auto* texts = new QVBoxLayout;
    texts->addWidget(m_titleLabel);
    texts->addWidget(m_versionLabel);
    texts->addSpacing(8);
    texts->addWidget(m_authorLabel);
    texts->addStretch(1);

    auto* body = new QHBoxLayout;
    body->addWidget(m_logoLabel);
    body->addSpacing(12);
    body->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QVBoxLayout(this);
    top->addLayout(body, 1);
    top->addWidget(buttons);
    m_logoLabel->hide();
}

KAboutDialog::~KAboutDialog() = default;

void KAboutDialog::setTitle(const QString& title)
{
    m_title = title;
    m_titleLabel->setText(title);
    setWindowTitle(tr("About %1").arg(title));
}

void KAboutDialog::setVersion(const QString& version)
{
    m_version = version;
    m_versionLabel->setText(tr("Version %1").arg(version));
}

void KAboutDialog::setAuthor(const QString& name, const QString& email, const QString& url,
                             const QString& work)
{
    QString text = tr("Author: %1").arg(name.toHtmlEscaped());
    if (!email.isEmpty()) {
        text += QStringLiteral(" &lt;<a href=\"mailto:%1\">%1</a>&gt;").arg(email.toHtmlEscaped());
    }
    if (!url.isEmpty()) {
        text += QStringLiteral("<br><a href=\"%1\">%1</a>").arg(url.toHtmlEscaped());
    }
    if (!work.isEmpty()) {
        text += QStringLiteral("<br>%1").arg(work.toHtmlEscaped());
    }
    m_authorLabel->setText(text);
}

void KAboutDialog::setLogo(const QPixmap& logo)
{
    m_logoLabel->setPixmap(logo);
    m_logoLabel->setVisible(!logo.isNull());
}
