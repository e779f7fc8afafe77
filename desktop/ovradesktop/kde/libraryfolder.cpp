// SPDX-License-Identifier: GPL-2.0-or-later
#include "libraryfolder.h"

#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

QString folderOfLibraryHolding(const void* address)
{
    Dl_info info{};
    if (dladdr(address, &info) == 0 || !info.dli_fname) {
        return QString();
    }
    return QFileInfo(QFile::decodeName(info.dli_fname)).absolutePath();
}
