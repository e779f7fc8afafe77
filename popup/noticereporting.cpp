// SPDX-License-Identifier: GPL-2.0-or-later
#include "noticereporting.h"

#include "common/UPMComm.h"
#include "forms/errorbox.h"
#include "notify/desktopnotice.h"
#include "schemes/catalogue.h"

#include <QCoreApplication>
#include <QDir>

namespace {

void showNotice(const SchemeNotice& notice)
{
    const notify::DesktopNotice desktopNotice{QStringLiteral("schemepop"), notice.summary,
                                              notice.body, QStringLiteral("dialog-warning"),
                                              notify::Urgency::Normal};
    if (!notify::deliver(desktopNotice)) {
        showErrorBoxOverActiveWindow(notice.summary + QStringLiteral("\n\n") + notice.body);
    }
}

} // namespace

void reportNoticesOnDesktop()
{
    schemes::bindCatalogue(QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                           QStringLiteral("/../share/locale")));
    SetNoticePresenter(showNotice);
}
