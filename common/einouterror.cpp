// SPDX-License-Identifier: GPL-2.0-or-later
#include "einouterror.h"

#include <cstring>
#include <string>

namespace {

std::string describe(const char* action, const QByteArray& fileName, int errorCode)
{
    return std::string("Could not ") + action + " file " + fileName.toStdString() + ": " +
           std::strerror(errorCode);
}

} // namespace

EInOutError::EInOutError(const char* action, const QByteArray& fileName, int errorCode)
    : std::runtime_error(describe(action, fileName, errorCode)), m_fileName(fileName),
      m_errorCode(errorCode)
{
}

EInOutError::EInOutError(const powerdaemon::FileError& failure)
    : EInOutError(failure.action.c_str(), QByteArray::fromStdString(failure.path), failure.code)
{
}
