// SPDX-License-Identifier: GPL-2.0-or-later
#include "fileerror.h"

#include <cstring>

namespace powerdaemon {

std::string FileError::message() const
{
    return "Could not " + action + " file " + path + ": " + std::strerror(code);
}

} // namespace powerdaemon
