// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Reading a small file whole without letting it hold up or flood the
// caller: a FIFO, a device or an endless file is refused, not waited on.

#include "fileerror.h"

#include <cstddef>
#include <optional>
#include <string>

namespace powerdaemon {

// The power daemon's configuration.
inline constexpr std::size_t ConfigFileLimit = 1024 * 1024;

// The bytes of the regular file at path (symbolic links followed), read whole.
// It is opened non-blocking, so that opening a FIFO returns at once, and
// checked with fstat before any read. None, with failure set, when it cannot
// be opened or read, when it is anything but a regular file (EINVAL, EISDIR
// for a directory, as read() says for objects unfit for reading) and when it
// holds more than limit bytes (EFBIG). At most limit + 1 bytes are read, so
// a file that grows while it is read cannot make the result larger.
std::optional<std::string> readRegularFile(const std::string& path, std::size_t limit,
                                           FileError& failure);

} // namespace powerdaemon
