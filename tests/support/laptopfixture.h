// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Helpers for tests that run on the simulated laptop (inside laptop/sandbox).

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace laptop {

// One call of a stand-in program, as its line in the call log records it.
struct Call
{
    QString program;      // the path it was started by, or the bare name (insmod, kdialog)
    uint ruid = 0;        // real user id
    uint euid = 0;        // effective user id
    int exitCode = 0;     // the code the stand-in returned
    QString shellCommand; // the text the calling `sh -c` was given, or empty
    QStringList args;
};

// True inside laptop/sandbox; every other helper here needs it.
bool inside();

// The call log, oldest call first; clearCalls() empties it.
QList<Call> calls();
void clearCalls();
// Only the calls of the given program (path or bare name).
QList<Call> callsOf(const QString& program);
// The shell command lines of the calls, oldest first.
QStringList shellCommands();
// "program arg1 ..." for every call, oldest first.
QStringList callSummary();

// How a stand-in behaves from now on: NAME or NAME.ARG1 (e.g. "powersaved.reload").
void setBehaviour(const QString& name, int exitCode, double delaySeconds = 0);

// Writes or reads a whole file; the write creates missing parent directories.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// Drives the battery simulator: battery(0, {"ac=no", "charge=40"}).
void battery(int n, const QStringList& settings);
void mains(bool attached);
// The batteries as the laptop starts: battery 0 in its bay on mains power
// at 87 %, readable, and no battery in bay 1.
void startingBatteries();

// Runs the event loop until cond() holds or the time is up; returns cond().
bool waitFor(const std::function<bool()>& cond, int timeoutMs = 5000);

// Children of this process that have ended and were never waited for.
int zombieChildren();

// The command lines (arguments joined by blanks) of the laptop's running
// processes, other than this one, whose command line holds text.
QStringList processesWith(const QByteArray& text);

// A tmpfs with the mount options (such as "size=64k") over the folder while
// it lives, as a small disk that fills up; mounted() says whether the mount
// worked (it needs root).
class SmallFileSystem
{
public:
    SmallFileSystem(const QByteArray& dir, const char* options);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;
    bool mounted() const { return m_mounted; }

private:
    QByteArray m_dir;
    bool m_mounted;
};

} // namespace laptop
