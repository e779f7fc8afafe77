// SPDX-License-Identifier: GPL-2.0-or-later
#include "replacefile.h"
#include "uniquefd.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace powerdaemon {

namespace {

// The temporary file's name, removed unless the rename has taken it over.
class TemporaryName
{
public:
    explicit TemporaryName(std::string name) : m_name(std::move(name)) {}
    ~TemporaryName()
    {
        if (!m_name.empty()) {
            ::unlink(m_name.c_str());
        }
    }
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;
    const std::string& name() const { return m_name; }
    void keep() { m_name.clear(); }

private:
    std::string m_name;
};

std::optional<std::string> resolvedPath(const std::string& path)
{
    const std::unique_ptr<char, decltype(&std::free)> target(::realpath(path.c_str(), nullptr),
                                                             &std::free);
    if (!target) {
        return std::nullopt;
    }
    return std::string(target.get());
}

bool writeAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Makes the rename itself durable; a failure here leaves a whole file either
// way, so it is not reported.
void syncDirectory(const std::string& directory)
{
    const UniqueFd dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir) {
        ::fsync(dir.get());
    }
}

} // namespace

std::optional<FileError> replaceFileContents(const std::string& path, std::string_view text)
{
    const auto fail = [&path](const char* action) { return FileError{action, path, errno}; };
    std::optional<std::string> target = resolvedPath(path);
    struct stat old;
    if (target) {
        if (::stat(target->c_str(), &old) != 0) {
            return fail("open");
        }
    } else if (errno == ENOENT && ::lstat(path.c_str(), &old) != 0 && errno == ENOENT) {
        // No file yet (and no dangling link): a new one, rw-r--r--, ours.
        target = path.find('/') == std::string::npos ? "./" + path : path;
        old.st_mode = 0644;
        old.st_uid = ::geteuid();
        old.st_gid = ::getegid();
    } else {
        return fail("open");
    }
    const std::string directory = target->substr(0, target->rfind('/') + 1);
    std::string pattern = directory + "." + target->substr(directory.size()) + ".XXXXXX";
    const UniqueFd fd(::mkostemp(pattern.data(), O_CLOEXEC));
    if (!fd) {
        return fail("create");
    }
    TemporaryName temporary(pattern);
    // The owner only where allowed (root); the mode always.
    if (::fchown(fd.get(), old.st_uid, old.st_gid) != 0 && errno != EPERM) {
        return fail("create");
    }
    if (::fchmod(fd.get(), old.st_mode & 07777) != 0) {
        return fail("create");
    }
    if (!writeAll(fd.get(), text)) {
        return fail("write");
    }
    if (::fsync(fd.get()) != 0) {
        return fail("sync");
    }
    if (::rename(temporary.name().c_str(), target->c_str()) != 0) {
        return fail("rename");
    }
    temporary.keep();
    syncDirectory(directory);
    return std::nullopt;
}

} // namespace powerdaemon
