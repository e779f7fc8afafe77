// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Whole-file reads over the system's file calls. Every failure
// raises EInOutError with the file's name and errno.

#include <QByteArray>

#include <cstddef>

// True when the path names an existing entry (symbolic links followed).
bool FileExists(const QByteArray& fileName);

// All bytes of a regular file of at most limit bytes. A FIFO or a device
// is refused at once rather than read (EINVAL), a longer file with EFBIG.
QByteArray ReadFileBytes(const QByteArray& fileName, std::size_t limit);
