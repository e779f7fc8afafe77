// SPDX-License-Identifier: GPL-2.0-or-later
#include "RawFile.h"
#include "EInOutError.h"
#include "UniqueFd.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// An open file. close() reports its error; a descriptor left open by an
// error on the way is only released.
class OpenFile
{
public:
    OpenFile(const QByteArray& fileName, int flags, const char* action)
        : m_fileName(fileName), m_fd(::open(fileName.constData(), flags | O_CLOEXEC))
    {
        if (!m_fd) {
            throw EInOutError(action, m_fileName, errno);
        }
    }

    QByteArray readAll()
    {
        QByteArray bytes;
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(m_fd.get(), buffer, sizeof buffer);
            if (n == 0) {
                return bytes;
            }
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                throw EInOutError("read", m_fileName, errno);
            }
            bytes.append(buffer, n);
        }
    }

    void close()
    {
        const int fd = m_fd.release(); // closed even when close() fails: never retried
        if (::close(fd) != 0) {
            throw EInOutError("close", m_fileName, errno);
        }
    }

private:
    QByteArray m_fileName;
    shellconf::UniqueFd m_fd;
};

} // namespace

bool FileExists(const QByteArray& fileName)
{
    struct stat status;
    return ::stat(fileName.constData(), &status) == 0;
}

QByteArray ReadFileBytes(const QByteArray& fileName)
{
    OpenFile file(fileName, O_RDONLY, "open");
    QByteArray bytes = file.readAll();
    file.close();
    return bytes;
}
