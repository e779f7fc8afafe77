// SPDX-License-Identifier: GPL-2.0-or-later
// ovra-switch-scheme: switches a scheme key of the power daemon as root, for
// a user of schemepop or of the panel applet whom polkit has authorised
// through pkexec.
//   ovra-switch-scheme popup|applet AC_SCHEME|BATTERY_SCHEME NAME
// Prints what the switch came to on standard output (one fact a line) and
// ends with its outcome: 0 applied, 1 not applied, 2 not saved, 3 refused.

#include "powerdaemon/schemeswitch.h"
#include "powerdaemon/servicestate.h"
#include "powerdaemon/uniquefd.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The report goes to the caller's standard output. The commands get none of
// the caller's descriptors: one left running past its bound must not hold
// the caller's pipe open.
powerdaemon::UniqueFd takeStandardOutput()
{
    powerdaemon::UniqueFd report(::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3));
    const powerdaemon::UniqueFd null(::open("/dev/null", O_RDWR | O_CLOEXEC));
    if (null) {
        for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
            ::dup2(null.get(), fd);
        }
    }
    return report;
}

// Nothing of the caller's environment reaches the shell that runs the
// commands: pkexec passes little, and a direct call by root passes nothing.
void cleanEnvironment()
{
    ::clearenv();
    ::setenv("PATH", "/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin", 1);
    ::umask(022);
    if (::chdir("/") != 0) {
        std::_Exit(int(powerdaemon::SwitchOutcome::Refused));
    }
}

powerdaemon::SwitchReport switchAsRequested(const std::vector<std::string>& args)
{
    powerdaemon::SwitchReport refused;
    refused.refused = true;
    if (::geteuid() != 0) {
        refused.reason = "the switch runs as root, through pkexec";
        return refused;
    }
    const auto parsed = powerdaemon::parseSwitchArguments(args);
    if (const auto* why = std::get_if<std::string>(&parsed)) {
        refused.reason = *why;
        return refused;
    }
    // The caller may only ask for a scheme its program offers; the switch
    // itself refuses a name that is not safe, before anything else.
    const auto& request = std::get<powerdaemon::SwitchRequest>(parsed);
    const std::string& name = request.acScheme ? *request.acScheme : *request.batteryScheme;
    if (powerdaemon::isSafeSchemeName(name) && !powerdaemon::isListedScheme(request.rules, name)) {
        refused.reason = "no such scheme: " + name;
        return refused;
    }
    return powerdaemon::switchScheme(request);
}

void writeAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) {
            return; // the caller has gone: the switch stands all the same
        }
        done += std::size_t(n);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    // Nothing the caller set (limits, nice value, signals) holds over the
    // switch or the commands it runs.
    powerdaemon::becomeService();
    const powerdaemon::UniqueFd report = takeStandardOutput();
    cleanEnvironment();
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const powerdaemon::SwitchReport result = switchAsRequested(args);
    if (report) {
        writeAll(report.get(), result.toText());
    }
    return int(result.outcome());
}
