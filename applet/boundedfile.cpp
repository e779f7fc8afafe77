// SPDX-License-Identifier: GPL-2.0-or-later
#include "boundedfile.h"

#include "powerdaemon/boundedread.h"

std::optional<QByteArray> readConfigText(const char* fileName, QByteArray* error)
{
    powerdaemon::FileError failure;
    const std::optional<std::string> bytes =
        powerdaemon::readRegularFile(fileName, powerdaemon::ConfigFileLimit, failure);
    if (!bytes) {
        if (error) {
            *error = QByteArray::fromStdString(failure.message());
        }
        return std::nullopt;
    }
    return QByteArray::fromStdString(*bytes);
}
