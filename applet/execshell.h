// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The applet's front end on powerdaemon's command runner: every command the
// applet starts through /bin/sh and waits for goes through runShell.

#include "powerdaemon/shellcommand.h"

#include <chrono>

// Runs a command through the runner within bound; a command still running
// then is ended (or left running, atBound Leave), and said on standard
// error with the bound as the applet's own line.
powerdaemon::CommandEnd runShell(const char* command,
                                 std::chrono::milliseconds bound = powerdaemon::CommandTimeLimit,
                                 powerdaemon::OutputCapture* output = nullptr,
                                 powerdaemon::AtBound atBound = powerdaemon::AtBound::End);

// Runs a command and waits for it, at most 30 s; false when it could not be
// started or did not end in time (then ended). Its exit status is not
// looked at.
bool execShell(const char* command);
// Runs a command as execShell does and keeps the start of its standard
// output in buf: zero-filled, then at most size - 2 bytes. False, buf
// untouched, when size < 2 or no command could be started; false too when
// the command did not end in time, buf then holding what it wrote so far.
bool execShellOutput(const char* command, char* buf, int size);
