// The shell command runner.
#include "UPMComm.h"

#include <cerrno>
#include <cstdlib>

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int ShellNotStarted = 127;

// In the forked child: becomes root where the program's effective user id
// allows it (otherwise the shell keeps the caller's ids), then turns into
// the shell. Never returns into the program, not even when exec fails.
[[noreturn]] void runShellInChild(const char* command)
{
    [[maybe_unused]] const int becameRoot = setuid(0);
    execl("/bin/sh", "sh", "-c", command, static_cast<char*>(nullptr));
    _exit(ShellNotStarted);
}

} // namespace

bool ExecCmd(const QByteArray& command)
{
    const char* line = command.constData();
    if (getuid() == 0) {
        return std::system(line) == 0;
    }
    const pid_t child = fork();
    if (child < 0) {
        return false; // no child: nothing to wait for
    }
    if (child == 0) {
        runShellInChild(line);
    }
    int status = 0;
    pid_t waited;
    do {
        waited = waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    return waited == child && status == 0;
}
