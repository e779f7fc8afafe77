// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Runs the notification service of the tests (notifyrecorder) on the
// sandbox's session bus for as long as the object lives, and reads the
// notices it recorded, one line each:
//   app name<TAB>icon<TAB>summary<TAB>body<TAB>urgency

#include "laptopfixture.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class NoticeRecorder
{
public:
    // program: the path of notifyrecorder; silent: it never answers.
    explicit NoticeRecorder(const QString& program, bool silent = false)
        : m_log(m_dir.filePath(QStringLiteral("notices")))
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList args{m_log};
        if (silent) {
            args.prepend(QStringLiteral("--silent"));
        }
        m_process.start(program, args);
    }
    ~NoticeRecorder()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    NoticeRecorder(const NoticeRecorder&) = delete;
    NoticeRecorder& operator=(const NoticeRecorder&) = delete;

    // Waits until the service owns its name (the recorder then makes its file).
    bool ready()
    {
        return laptop::waitFor([this] { return QFile::exists(m_log); }, 15000);
    }

    QStringList notices() const
    {
        const QString text = QString::fromUtf8(laptop::readFile(m_log));
        return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private:
    QTemporaryDir m_dir;
    QString m_log;
    QProcess m_process;
};
