// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Whether a window program (schemepop, panelhost) can reach a display, told
// before Qt is asked: without one, constructing the application object
// aborts with a core dump.

#include <QByteArray>

// Why the platform Qt would pick has no display to connect to (from
// QT_QPA_PLATFORM, XDG_SESSION_TYPE, DISPLAY and WAYLAND_DISPLAY, without
// contacting any server); empty when it may start. platformArgument is a
// "-platform" argument the program passes to Qt, or null.
QByteArray missingDisplay(const char* platformArgument = nullptr);

// While it lives, a fatal error of Qt (a display that is named but cannot be
// reached) ends the program with "PROGRAM: cannot connect to the X display
// NAME" and exit status 1 instead of an abort. Qt's other messages of that
// time are held back and passed on when the guard ends.
class DisplayFailureGuard
{
public:
    explicit DisplayFailureGuard(const char* program);
    ~DisplayFailureGuard();
    DisplayFailureGuard(const DisplayFailureGuard&) = delete;
    DisplayFailureGuard& operator=(const DisplayFailureGuard&) = delete;
};
