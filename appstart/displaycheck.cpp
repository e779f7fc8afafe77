// SPDX-License-Identifier: GPL-2.0-or-later
#include "displaycheck.h"

#include <QFileInfo>
#include <QList>
#include <QString>

#include <cstdio>
#include <utility>

#include <unistd.h>

namespace {

// The platforms Qt tries, in its order: the argument, QT_QPA_PLATFORM, or
// the session's (Wayland where the session says so), else X.
QList<QByteArray> platformCandidates(const char* platformArgument)
{
    QByteArray names = platformArgument ? QByteArray(platformArgument) : qgetenv("QT_QPA_PLATFORM");
    if (names.isEmpty()) {
        names = qgetenv("XDG_SESSION_TYPE") == "wayland" ? "wayland;xcb" : "xcb";
    }
    QList<QByteArray> candidates;
    for (const QByteArray& entry : names.split(';')) {
        candidates << entry.split(':').constFirst().trimmed(); // "xcb:options" is xcb
    }
    return candidates;
}

bool waylandReachable()
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        return true;
    }
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/wayland-0"));
}

// Platforms other than X and Wayland (offscreen, minimal, vnc, eglfs ...)
// need no display server: Qt decides about them.
bool mayStart(const QByteArray& platform)
{
    if (platform == "xcb") {
        return !qEnvironmentVariableIsEmpty("DISPLAY");
    }
    if (platform.startsWith("wayland")) {
        return waylandReachable();
    }
    return true;
}

struct GuardState
{
    const char* program = nullptr;
    QtMessageHandler previous = nullptr;
    // A message as Qt's handler got it; the context's strings are literals
    // of Qt's code and outlive the guard.
    struct Held
    {
        QtMsgType type;
        const char* file;
        int line;
        const char* function;
        const char* category;
        QString text;
    };
    QList<Held> held;
};

GuardState& guardState()
{
    static GuardState state;
    return state;
}

void displayFailureHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    GuardState& state = guardState();
    if (type != QtFatalMsg) {
        state.held.append(
            {type, context.file, context.line, context.function, context.category, text});
        return;
    }
    // Only a platform that could not start means no display; any other fatal
    // message (Qt's refusal to run set-user-id, say) is Qt's to tell.
    if (!text.contains(QLatin1String("platform plugin"))) {
        qInstallMessageHandler(state.previous);
        qt_message_output(type, context, text);
        _exit(1);
    }
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty()) {
        std::fprintf(stderr, "%s: cannot connect to a display\n", state.program);
    } else {
        std::fprintf(stderr, "%s: cannot connect to the X display %s\n", state.program,
                     display.constData());
    }
    std::fflush(stdout);
    std::fflush(stderr);
    // Qt is half constructed: no destructor, no atexit handler may run.
    _exit(1);
}

} // namespace

QByteArray missingDisplay(const char* platformArgument)
{
    const QList<QByteArray> candidates = platformCandidates(platformArgument);
    for (const QByteArray& platform : candidates) {
        if (mayStart(platform)) {
            return QByteArray();
        }
    }
    if (candidates == QList<QByteArray>{"xcb"}) {
        return "cannot connect to the X display: DISPLAY is not set";
    }
    return "cannot connect to a display: neither DISPLAY nor WAYLAND_DISPLAY is set";
}

DisplayFailureGuard::DisplayFailureGuard(const char* program)
{
    guardState().program = program;
    guardState().previous = qInstallMessageHandler(displayFailureHandler);
}

DisplayFailureGuard::~DisplayFailureGuard()
{
    GuardState& state = guardState();
    qInstallMessageHandler(state.previous);
    const QList<GuardState::Held> held = std::exchange(state.held, {});
    for (const GuardState::Held& message : held) {
        const QMessageLogContext context(message.file, message.line, message.function,
                                         message.category);
        qt_message_output(message.type, context, message.text);
    }
}
