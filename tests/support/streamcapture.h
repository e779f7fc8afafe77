// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Catches what the code under test writes to one of the process's standard
// streams (by file descriptor, so stdio and direct writes are both caught).

#include <QByteArray>
#include <QTemporaryFile>

#include <cstdio>

#include <unistd.h>

class StreamCapture
{
public:
    explicit StreamCapture(int fd) : m_fd(fd)
    {
        m_file.open();
        std::fflush(nullptr);
        m_saved = dup(m_fd);
        dup2(m_file.handle(), m_fd);
    }
    ~StreamCapture() { restore(); }
    StreamCapture(const StreamCapture&) = delete;
    StreamCapture& operator=(const StreamCapture&) = delete;

    // Ends the capture and returns everything written meanwhile.
    QByteArray finish()
    {
        restore();
        m_file.seek(0);
        return m_file.readAll();
    }

private:
    void restore()
    {
        if (m_saved < 0) {
            return;
        }
        std::fflush(nullptr);
        dup2(m_saved, m_fd);
        close(m_saved);
        m_saved = -1;
    }

    int m_fd;
    int m_saved = -1;
    QTemporaryFile m_file;
};
