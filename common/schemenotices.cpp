// SPDX-License-Identifier: GPL-2.0-or-later
// The notices' texts and the presenter that shows them.
#include "schemenotices.h"
#include "powersavepaths.h"

#include <QFile>

#include <cstdio>
#include <utility>

namespace {

void writeToStandardError(const SchemeNotice& notice)
{
    std::fprintf(stderr, "%s: %s\n", notice.summary.toLocal8Bit().constData(),
                 notice.body.toLocal8Bit().constData());
}

NoticePresenter& installedPresenter()
{
    static NoticePresenter presenter = writeToStandardError;
    return presenter;
}

} // namespace

SchemeNotice NotSavedNotice(const QByteArray& scheme, const char* key)
{
    return {QStringLiteral("Power scheme not saved"),
            QStringLiteral("The scheme \"%1\" was not saved: %2 has no %3 setting.")
                .arg(QFile::decodeName(scheme), QFile::decodeName(powerdaemon::CommonFile),
                     QString::fromLatin1(key))};
}

SchemeNotice NotAcceptedNotice(const QByteArray& scheme)
{
    return {QStringLiteral("Power scheme not applied"),
            QStringLiteral("The power daemon did not accept the scheme \"%1\".")
                .arg(QFile::decodeName(scheme))};
}

NoticePresenter SetNoticePresenter(NoticePresenter presenter)
{
    if (!presenter) {
        presenter = writeToStandardError;
    }
    return std::exchange(installedPresenter(), std::move(presenter));
}

void ShowNotice(const SchemeNotice& notice)
{
    installedPresenter()(notice);
}
