// SPDX-License-Identifier: GPL-2.0-or-later
#include "replacefile.h"
#include "uniquefd.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

#include <dirent.h>
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

// Between the file's name and the random part of a temporary file's name:
// ".common.ovra-new.Ab3xY9" is recognised as a temporary file of "common"
// and nothing else is.
constexpr char TemporaryMark[] = ".ovra-new.";
constexpr std::size_t TemporaryRandomLength = 6; // mkostemp's XXXXXX
// The most entries of the folder looked at for temporary files left behind.
constexpr int FolderEntryLimit = 65536;

struct FolderCloser
{
    void operator()(DIR* folder) const { ::closedir(folder); }
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

std::string folderOf(const std::string& path)
{
    return path.substr(0, path.rfind('/') + 1);
}

// ".NAME.ovra-new." for the file at path.
std::string temporaryPrefix(const std::string& path)
{
    return "." + path.substr(path.rfind('/') + 1) + TemporaryMark;
}

bool isTemporaryName(std::string_view entry, std::string_view prefix)
{
    if (entry.size() != prefix.size() + TemporaryRandomLength ||
        entry.substr(0, prefix.size()) != prefix) {
        return false;
    }
    for (const char c : entry.substr(prefix.size())) {
        const bool letterOrDigit =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!letterOrDigit) {
            return false;
        }
    }
    return true;
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
    const std::string directory = folderOf(*target);
    std::string pattern = directory + temporaryPrefix(*target) + "XXXXXX";
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

void removeLeftTemporaries(const std::string& path)
{
    const std::string target = resolvedPath(path).value_or(path);
    const std::string folder = folderOf(target);
    const std::unique_ptr<DIR, FolderCloser> entries(
        ::opendir(folder.empty() ? "." : folder.c_str()));
    if (!entries) {
        return;
    }
    const std::string prefix = temporaryPrefix(target);
    const int folderFd = ::dirfd(entries.get());
    int looked = 0;
    while (const dirent* entry = ::readdir(entries.get())) {
        if (++looked > FolderEntryLimit) {
            return;
        }
        if (!isTemporaryName(entry->d_name, prefix)) {
            continue;
        }
        // Only a plain file of this process's user: never a link, never
        // another user's.
        struct stat file;
        if (::fstatat(folderFd, entry->d_name, &file, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(file.st_mode) && file.st_uid == ::geteuid()) {
            ::unlinkat(folderFd, entry->d_name, 0);
        }
    }
}

} // namespace powerdaemon
