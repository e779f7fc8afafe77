// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The applet's read of the daemon's configuration: whole, bounded in size,
// and never waiting on a FIFO or a device.

#include <QByteArray>

#include <optional>

// The configuration's bytes, at most powerdaemon::ConfigFileLimit; none when
// it cannot be read, is no regular file or is longer
// (powerdaemon::readRegularFile), and then error, when given, says why.
std::optional<QByteArray> readConfigText(const char* fileName, QByteArray* error = nullptr);
