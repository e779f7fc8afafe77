// SPDX-License-Identifier: GPL-2.0-or-later
#include "replacefile.h"
#include "uniquefd.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
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
// The longest name list and attribute value the kernel keeps (XATTR_LIST_MAX
// and XATTR_SIZE_MAX).
constexpr std::size_t AttributeSizeLimit = 65536;
constexpr char AccessAclAttribute[] = "system.posix_acl_access";

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

// A write past the file size limit would end the process with SIGXFSZ
// half way through.
bool withinFileSizeLimit(std::size_t size)
{
    rlimit limit{};
    return ::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
           size <= limit.rlim_cur;
}

// Reads one of the lists or values below: call(nullptr, 0) gives the size,
// call(buffer, size) fills it. Empty with errno set on failure.
template <typename Call> std::optional<std::vector<char>> readAttributeBytes(Call call)
{
    // A list or value that grows between the two calls is read again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const ssize_t size = call(nullptr, 0);
        if (size < 0) {
            return std::nullopt;
        }
        if (std::size_t(size) > AttributeSizeLimit) {
            errno = E2BIG;
            return std::nullopt;
        }
        std::vector<char> bytes(static_cast<std::size_t>(size));
        const ssize_t got = call(bytes.data(), bytes.size());
        if (got >= 0) {
            bytes.resize(std::size_t(got));
            return bytes;
        }
        if (errno != ERANGE) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// Gives the new file every extended attribute of the old one: its POSIX
// ACL, its security label and the others; and no access ACL that the old
// one lacked (one inherited from the folder's default ACL). The error of
// the first one that cannot be kept.
std::optional<FileError> copyAttributes(const std::string& old, int fd, const std::string& path)
{
    const char* from = old.c_str();
    const auto names = readAttributeBytes(
        [from](char* list, std::size_t size) { return ::listxattr(from, list, size); });
    if (!names) {
        if (errno == ENOTSUP) {
            return std::nullopt; // a file system without attributes
        }
        return FileError{"read the extended attributes of", path, errno};
    }
    bool hasAccessAcl = false;
    for (std::size_t at = 0; at < names->size();) {
        const std::string name(names->data() + at);
        at += name.size() + 1;
        const auto value = readAttributeBytes([from, &name](char* bytes, std::size_t size) {
            return ::getxattr(from, name.c_str(), bytes, size);
        });
        if (!value) {
            if (errno == ENODATA) {
                continue; // removed since it was listed
            }
            return FileError{"read the extended attribute " + name + " of", path, errno};
        }
        if (::fsetxattr(fd, name.c_str(), value->data(), value->size(), 0) != 0) {
            return FileError{"keep the extended attribute " + name + " of", path, errno};
        }
        hasAccessAcl = hasAccessAcl || name == AccessAclAttribute;
    }
    if (!hasAccessAcl && ::fremovexattr(fd, AccessAclAttribute) != 0 && errno != ENODATA &&
        errno != ENOTSUP) {
        return FileError{"keep the permissions of", path, errno};
    }
    return std::nullopt;
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
    const bool existed = target.has_value();
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
    if (!withinFileSizeLimit(text.size())) {
        errno = EFBIG;
        return fail("write");
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
    // After the write, which would clear a file capability.
    if (existed) {
        if (auto error = copyAttributes(*target, fd.get(), path)) {
            return error;
        }
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
