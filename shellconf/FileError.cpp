// SPDX-License-Identifier: GPL-2.0-or-later
#include "FileError.h"

#include <cstring>

namespace shellconf {

std::string FileError::message() const
{
    return "Could not " + action + " file " + path + ": " + std::strerror(code);
}

} // namespace shellconf
