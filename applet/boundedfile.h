// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The applet's reads of the battery module's and the daemon's files: whole,
// bounded in size, and never waiting on a FIFO or a device.

#include <QByteArray>

#include <cstddef>
#include <optional>

// The bytes of a regular file of at most limit bytes; none when it cannot be
// read, is no regular file or is longer (powerdaemon::readRegularFile), and
// then error, when given, says why.
std::optional<QByteArray> readBoundedFile(const char* fileName, std::size_t limit,
                                          QByteArray* error = nullptr);

// The daemon's configuration, at most powerdaemon::ConfigFileLimit bytes.
std::optional<QByteArray> readConfigText(const char* fileName, QByteArray* error = nullptr);
