// SPDX-License-Identifier: GPL-2.0-or-later
#include "threadaside.h"

#include <system_error>

ThreadAside::ThreadAside(std::function<void()> work)
{
    try {
        m_thread = std::thread(std::move(work));
    } catch (const std::system_error&) {
        // No thread to spare.
    }
}

ThreadAside::~ThreadAside()
{
    wait();
}

void ThreadAside::wait()
{
    if (m_thread.joinable()) {
        m_thread.join();
    }
}
