// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Questions on the system bus asked ahead of need: a program's start asks,
// on a thread aside, what its first showing will ask, while the main thread
// builds its window; the first call of the same question then takes that
// answer instead of asking again. Each answer asked ahead serves
// one call: every later call asks anew, and a question already asked by the
// program before its answer ahead was asked is not asked ahead any more, so
// no call takes an answer older than itself.

#include <QDBusMessage>

#include <chrono>
#include <optional>

namespace machine {

// Asks call on the calling thread, waiting at most bound, and keeps the
// answer for the first call of the same question.
void askAhead(const QDBusMessage& call, std::chrono::milliseconds bound);

// The answer asked ahead for call, waited for at most bound while it is
// still under way (then an error answer: no reply); none when call was not
// asked ahead or its answer was taken already.
std::optional<QDBusMessage> takeAnswerAhead(const QDBusMessage& call,
                                            std::chrono::milliseconds bound);

// The answer asked ahead for call, or else callWithin(call, bound).
QDBusMessage answerAheadOrCall(const QDBusMessage& call, std::chrono::milliseconds bound);

} // namespace machine
