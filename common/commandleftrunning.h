// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The message of a command given up on after its bound.

#include <QByteArray>
#include <QString>

#include <chrono>

QString CommandLeftRunningText(const QByteArray& command, std::chrono::milliseconds bound);
