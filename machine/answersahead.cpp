// SPDX-License-Identifier: GPL-2.0-or-later
#include "answersahead.h"
#include "buscall.h"

#include <QDBusVariant>

#include <condition_variable>
#include <map>
#include <mutex>
#include <tuple>
#include <utility>

namespace machine {

namespace {

// What makes two calls the same question.
struct Question
{
    QString service;
    QString path;
    QString interface;
    QString member;
    QStringList arguments;

    bool operator<(const Question& other) const
    {
        return std::tie(service, path, interface, member, arguments) <
               std::tie(other.service, other.path, other.interface, other.member, other.arguments);
    }
};

Question questionOf(const QDBusMessage& call)
{
    QStringList arguments;
    for (QVariant argument : call.arguments()) {
        if (argument.userType() == qMetaTypeId<QDBusVariant>()) {
            argument = argument.value<QDBusVariant>().variant();
        }
        arguments.append(QString::fromLatin1(argument.typeName()) + QLatin1Char(':') +
                         argument.toString());
    }
    return {call.service(), call.path(), call.interface(), call.member(), arguments};
}

struct Answer
{
    enum class State
    {
        UnderWay,
        Kept,
        Taken // taken, or asked by the program itself first
    };
    State state = State::UnderWay;
    QDBusMessage reply;
    std::chrono::steady_clock::time_point came;
};

class AnswersAhead
{
public:
    // False when the question has been asked or taken before.
    bool begin(const Question& question)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_answers.emplace(question, Answer()).second;
    }

    // An answer that came after its call stopped waiting is not kept.
    void keep(const Question& question, const QDBusMessage& reply)
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            const auto found = m_answers.find(question);
            if (found == m_answers.end() || found->second.state != Answer::State::UnderWay) {
                return;
            }
            found->second.state = Answer::State::Kept;
            found->second.reply = reply;
            found->second.came = std::chrono::steady_clock::now();
        }
        m_answered.notify_all();
    }

    std::optional<QDBusMessage> take(const QDBusMessage& call, std::chrono::milliseconds bound)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        const auto [found, isNew] = m_answers.emplace(questionOf(call), Answer());
        Answer& answer = found->second;
        if (isNew) {
            answer.state = Answer::State::Taken;
            return std::nullopt;
        }
        if (answer.state == Answer::State::Taken) {
            return std::nullopt;
        }
        const bool answered = m_answered.wait_for(
            lock, bound, [&answer] { return answer.state != Answer::State::UnderWay; });
        answer.state = Answer::State::Taken;
        if (!answered) {
            return call.createErrorReply(QDBusError::NoReply,
                                         QStringLiteral("The answer asked ahead did not come"));
        }
        QDBusMessage reply = std::exchange(answer.reply, QDBusMessage());
        if (std::chrono::steady_clock::now() - answer.came > FreshFor) {
            return std::nullopt;
        }
        return reply;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_answered;
    std::map<Question, Answer> m_answers;
};

AnswersAhead& answersAhead()
{
    static AnswersAhead answers;
    return answers;
}

} // namespace

QDBusMessage askAhead(const QDBusMessage& call, std::chrono::milliseconds bound)
{
    const Question question = questionOf(call);
    const bool keep = answersAhead().begin(question);
    QDBusMessage answer = callWithin(call, bound);
    if (keep) {
        answersAhead().keep(question, answer);
    }
    return answer;
}

std::optional<QDBusMessage> takeAnswerAhead(const QDBusMessage& call,
                                            std::chrono::milliseconds bound)
{
    return answersAhead().take(call, bound);
}

QDBusMessage answerAheadOrCall(const QDBusMessage& call, std::chrono::milliseconds bound)
{
    if (std::optional<QDBusMessage> ahead = takeAnswerAhead(call, bound)) {
        return *std::move(ahead);
    }
    return callWithin(call, bound);
}

} // namespace machine
