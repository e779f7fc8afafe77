// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The applet's blocking shell runner: the commands it starts through
// /bin/sh and waits for.

#include <chrono>

// Runs a command through /bin/sh and waits for it, at most 30 s; false
// when it could not be started or did not end in time (left running).
bool execShell(const char* command);
bool execShell(const char* command, std::chrono::milliseconds bound);
// Runs a command as execShell does; true only when it ended with exit code 0.
bool execShellSucceeded(const char* command);
// Runs a command and keeps the start of its standard output in buf.
bool execShell(const char* command, char* buf, int size);
