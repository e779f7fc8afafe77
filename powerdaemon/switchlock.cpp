// SPDX-License-Identifier: GPL-2.0-or-later
#include "switchlock.h"
#include "fileerror.h"
#include "powersavedaemon.h"
#include "replacefile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

namespace powerdaemon {

namespace {

using Clock = std::chrono::steady_clock;

// The longest pause between two tries: a switch holds the lock for the few
// milliseconds its read and write take.
constexpr std::chrono::milliseconds LongestPause{10};

// Opens the lock file, making it when it is missing; never through a link,
// never a device or pipe left blocking.
UniqueFd openLockFile()
{
    constexpr int Flags = O_RDWR | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
    UniqueFd fd(::open(SwitchLockFile, Flags | O_CREAT | O_EXCL, 0600));
    if (fd) {
        ::fchmod(fd.get(), 0600); // whatever the umask took away
        return fd;
    }
    if (errno != EEXIST) {
        return fd;
    }
    return UniqueFd(::open(SwitchLockFile, Flags));
}

bool isRootsOwn(int fd)
{
    struct stat file;
    return ::fstat(fd, &file) == 0 && S_ISREG(file.st_mode) && file.st_uid == 0 &&
           (file.st_mode & 07777) == 0600 && file.st_nlink == 1;
}

// Tries the lock again and again, each pause longer, until the deadline.
bool lockBefore(int fd, Clock::time_point deadline)
{
    std::chrono::milliseconds pause{1};
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            return false;
        }
        const Clock::time_point now = Clock::now();
        if (now >= deadline) {
            errno = EWOULDBLOCK;
            return false;
        }
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, LongestPause);
    }
}

std::string seconds(std::chrono::milliseconds wait)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g s", double(wait.count()) / 1000.0);
    return text;
}

} // namespace

SwitchLock::SwitchLock(std::chrono::milliseconds wait)
{
    const Clock::time_point deadline = Clock::now() + wait;
    UniqueFd fd = openLockFile();
    if (!fd) {
        fail(FileError{"open", SwitchLockFile, errno}.message(), errno);
        return;
    }
    if (!isRootsOwn(fd.get())) {
        fail(std::string("Could not lock file ") + SwitchLockFile +
                 ": it is not a plain file of root's with mode 0600",
             EPERM);
        return;
    }
    if (!lockBefore(fd.get(), deadline)) {
        const int code = errno;
        fail(code == EWOULDBLOCK ? std::string("Could not lock file ") + SwitchLockFile +
                                       ": another switch held it for more than " + seconds(wait)
                                 : FileError{"lock", SwitchLockFile, code}.message(),
             code);
        return;
    }
    m_fd = std::move(fd);
    // No other switch runs now: what one killed half way left can go.
    removeLeftTemporaries(CommonFile);
}

void SwitchLock::fail(std::string why, int code)
{
    m_reason = std::move(why);
    m_errorCode = code;
}

} // namespace powerdaemon
