// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Runs a call that may never return (a read blocked on a FIFO) on a thread of
// its own and waits for it with a bound. A call still running then ends the
// test program with a fatal message, so that a hang fails the test at once
// instead of at the test's time limit; the thread is never joined.

#include <QtGlobal>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace laptop {

inline void finishWithin(std::chrono::milliseconds bound, const char* what,
                         const std::function<void()>& work)
{
    struct State
    {
        std::mutex mutex;
        std::condition_variable ended;
        bool done = false;
    };
    const auto state = std::make_shared<State>();
    std::thread([state, work] {
        work();
        const std::lock_guard<std::mutex> lock(state->mutex);
        state->done = true;
        state->ended.notify_all();
    }).detach();
    std::unique_lock<std::mutex> lock(state->mutex);
    if (!state->ended.wait_for(lock, bound, [&state] { return state->done; })) {
        qFatal("%s did not return within %lld ms", what, static_cast<long long>(bound.count()));
    }
}

} // namespace laptop
