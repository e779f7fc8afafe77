// SPDX-License-Identifier: GPL-2.0-or-later
// Replacing a file's content, as the popup's routines raise its errors.
#include "UPMComm.h"
#include "powerdaemon/replacefile.h"
#include "schemes/bytesview.h"

bool WriteTextFile(const QByteArray& fileName, const QByteArray& text)
{
    // The file keeps its owner and mode: users who are not root switch
    // through the helper, so nobody else needs to write it.
    const auto failure =
        powerdaemon::replaceFileContents(fileName.toStdString(), schemes::bytesView(text));
    if (failure) {
        throw EInOutError(failure->action.c_str(), fileName, failure->code);
    }
    return true;
}
