// SPDX-License-Identifier: GPL-2.0-or-later
#include "rawfile.h"
#include "einouterror.h"
#include "powerdaemon/boundedread.h"

#include <sys/stat.h>

bool FileExists(const QByteArray& fileName)
{
    struct stat status;
    return ::stat(fileName.constData(), &status) == 0;
}

QByteArray ReadFileBytes(const QByteArray& fileName, std::size_t limit)
{
    powerdaemon::FileError failure;
    const std::optional<std::string> bytes =
        powerdaemon::readRegularFile(fileName.toStdString(), limit, failure);
    if (!bytes) {
        throw EInOutError(failure);
    }
    return QByteArray::fromStdString(*bytes);
}
