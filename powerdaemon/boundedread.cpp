// SPDX-License-Identifier: GPL-2.0-or-later
#include "boundedread.h"
#include "uniquefd.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace powerdaemon {

namespace {

// errno for a file that is not a regular one: what read() itself reports.
int notRegularError(mode_t mode)
{
    return S_ISDIR(mode) ? EISDIR : EINVAL;
}

// Appends up to room bytes of fd to text; false with errno set on a read error.
bool readUpTo(int fd, std::size_t room, std::string& text)
{
    char buffer[4096];
    while (room > 0) {
        const ssize_t n = ::read(fd, buffer, room < sizeof buffer ? room : sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            break;
        }
        text.append(buffer, std::size_t(n));
        room -= std::size_t(n);
    }
    return true;
}

} // namespace

std::optional<std::string> readRegularFile(const std::string& path, std::size_t limit,
                                           FileError& failure)
{
    const auto fail = [&](const char* action, int code) -> std::optional<std::string> {
        failure = FileError{action, path, code};
        return std::nullopt;
    };
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) {
        return fail("open", errno);
    }
    struct stat status;
    if (::fstat(fd.get(), &status) != 0) {
        return fail("read", errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return fail("read", notRegularError(status.st_mode));
    }
    // procfs files say size 0, so the size only turns a large file away early.
    if (std::size_t(status.st_size) > limit) {
        return fail("read", EFBIG);
    }
    std::string text;
    if (!readUpTo(fd.get(), limit + 1, text)) {
        return fail("read", errno);
    }
    if (text.size() > limit) {
        return fail("read", EFBIG);
    }
    return text;
}

} // namespace powerdaemon
