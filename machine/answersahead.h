// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Questions on the system bus asked ahead of need. The start asks each
// service a question that tells whether it answers (machine.h) and is also
// the first one the program has for it; the popup asks them on a thread
// aside while the main thread builds its window. The first call of the same
// question then takes that answer instead of asking again. Each answer
// asked ahead serves one call, and only within FreshFor of its coming:
// every later call asks anew, and a question the program asked itself
// before the answer ahead was kept is not asked ahead any more, so no call
// takes an answer older than itself or than the start.

#include <QDBusMessage>

#include <chrono>
#include <optional>

namespace machine {

// How long an answer asked ahead may wait for its call.
inline constexpr std::chrono::seconds FreshFor{5};

// The answer to call, asked on the calling thread and waited for at most
// bound; kept for the first call of the same question unless that question
// was asked ahead or taken before.
QDBusMessage askAhead(const QDBusMessage& call, std::chrono::milliseconds bound);

// The answer asked ahead for call, waited for at most bound while it is
// still under way (then an error answer: no reply); none when call was not
// asked ahead, its answer was taken already or is older than FreshFor.
std::optional<QDBusMessage> takeAnswerAhead(const QDBusMessage& call,
                                            std::chrono::milliseconds bound);

// The answer asked ahead for call, or else callWithin(call, bound).
QDBusMessage answerAheadOrCall(const QDBusMessage& call, std::chrono::milliseconds bound);

} // namespace machine
