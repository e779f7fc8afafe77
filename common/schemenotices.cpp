// SPDX-License-Identifier: GPL-2.0-or-later
// The presenter that shows the notices (their words: schemes/switchwords.h).
#include "UPMComm.h"

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
