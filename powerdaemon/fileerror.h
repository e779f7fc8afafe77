// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A failed file call: what was being done, to which file, and errno.

#include <string>

namespace powerdaemon {

struct FileError
{
    std::string action; // what failed: "open", "read", "create", "write", "sync", "rename"
    std::string path;   // the file as the caller named it
    int code = 0;       // errno

    // "Could not ACTION file PATH: strerror(code)".
    std::string message() const;
};

} // namespace powerdaemon
