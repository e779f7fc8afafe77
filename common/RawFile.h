// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Whole-file reads over the system's file calls. Every failure
// raises EInOutError with the file's name and errno.

#include <QByteArray>

// True when the path names an existing entry (symbolic links followed).
bool FileExists(const QByteArray& fileName);

// All bytes of a file.
QByteArray ReadFileBytes(const QByteArray& fileName);
