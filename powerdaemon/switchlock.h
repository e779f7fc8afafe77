// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// One switch at a time: every switch, the helper's and root's own, holds
// this lock while it reads the daemon's file, sets its key and renames the
// new file over it, so that two switches of different keys never lose one.
// The lock is a file of root's, mode 0600, in the daemon's folder, which only
// root may write: no other user can open it, so none can take or hold it
// (anyone could lock the daemon's file itself).

#include "uniquefd.h"

#include <chrono>
#include <string>

namespace powerdaemon {

inline constexpr char SwitchLockFile[] = "/etc/sysconfig/powersave/.common.lock";
// How long a switch waits for the one before it.
inline constexpr std::chrono::seconds SwitchLockWait{5};

class SwitchLock
{
public:
    // Takes the lock, waiting at most `wait` for another switch to let it
    // go; once held, removes what a switch killed half way left beside the
    // daemon's file. A lock file that is not a plain file of root's with
    // mode 0600 (a link, say) is never used.
    explicit SwitchLock(std::chrono::milliseconds wait = SwitchLockWait);

    bool held() const { return bool(m_fd); }
    // Why it was not taken, in words for the user; empty when held.
    const std::string& reason() const { return m_reason; }
    // errno of the failure: EWOULDBLOCK when another switch held the lock
    // for the whole wait, EPERM for a lock file that is not root's own.
    int errorCode() const { return m_errorCode; }

private:
    void fail(std::string why, int code);

    UniqueFd m_fd;
    std::string m_reason;
    int m_errorCode = 0;
};

} // namespace powerdaemon
