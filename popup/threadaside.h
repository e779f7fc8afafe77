// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Work done on a thread of its own during the start, while the main thread
// connects to the X server and builds the window. The work must be safe to
// run beside the main thread, and whatever needs its result waits for it:
// by wait(), or by the work's own locks.

#include <functional>
#include <thread>

class ThreadAside
{
public:
    // Starts work on its thread; with no thread to spare, nothing is done
    // here and the work is left to whoever needs its result.
    explicit ThreadAside(std::function<void()> work);
    ~ThreadAside();
    ThreadAside(const ThreadAside&) = delete;
    ThreadAside& operator=(const ThreadAside&) = delete;

    // Returns once the work has ended.
    void wait();

private:
    std::thread m_thread;
};
