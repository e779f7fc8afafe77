// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// How the popup runs a command through powerdaemon's runner (ExecCmd is its
// front end, with the runner's 30 s bound).

#include <QByteArray>

#include <chrono>

// Runs the command within bound; true when it ended with exit code 0. A
// command still running then is ended with what it started, and the user
// is told in an error box.
bool RunCommand(const QByteArray& command, std::chrono::milliseconds bound);
