// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the user is told of a switch's result: one mapping for both
// programs, in the catalogue OvraIface. The popup shows its problems in
// error boxes, where the user reads them; the applet writes them on
// standard error, so it also sends a notice of what the user must know.

#include "schemebackend.h"

#include <QList>

#include <chrono>

namespace schemes {

// Where a program's problems go.
enum class Problems
{
    Shown, // in front of the user: the popup's error box
    Logged // on standard error: the applet
};

struct SwitchMessage
{
    enum class Kind
    {
        Problem, // a box's text or a line on standard error
        Notice   // a desktop notice
    };
    Kind kind;
    QString summary; // a notice's
    QString text;    // the problem, or the notice's body
    // A notice whose reason a logged problem before it gives: it needs no
    // line of its own where no notification service takes it.
    bool reasonLogged = false;
};

// In the order they are told; none for a switch that took effect.
QList<SwitchMessage> messagesOf(const SwitchResult& result, Problems problems);

// Why the write failed, when it did.
std::optional<QString> fileProblem(const powerdaemon::SwitchReport& report);
// A name refused because the file could not hold it safely.
QString unsafeNameText(const QByteArray& name);
// The line a program shows while a switch waits, with its way out.
QString waitingText();
QString commandLeftRunningText(const QByteArray& command, std::chrono::milliseconds bound);

} // namespace schemes
