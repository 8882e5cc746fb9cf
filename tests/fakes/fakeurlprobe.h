#pragma once

#include "asyncprobe.h"
#include "urlprobe.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace lumora::test {

// A probe with scripted answers per address, taken in order; once an address's script is used
// up its last answer repeats. Unscripted addresses are unreachable. Records every call.
class FakeUrlProbe : public UrlProbe {
public:
    enum class Answer { Reachable, Unreachable, Throw };

    void script(const QString& address, QList<Answer> answers) { m_scripts[address] = answers; }
    void setReachable(const QString& address, bool reachable) {
        script(address, {reachable ? Answer::Reachable : Answer::Unreachable});
    }

    bool isUrlReachable(const QString& address) override {
        const int call = int(m_calls.count(address));
        m_calls.append(address);
        const QList<Answer> answers = m_scripts.value(address);
        if (answers.isEmpty())
            return false;
        const Answer answer = answers.at(std::min<qsizetype>(call, answers.size() - 1));
        if (answer == Answer::Throw)
            throw std::runtime_error("scripted probe failure");
        return answer == Answer::Reachable;
    }

    const QStringList& calls() const { return m_calls; }
    int callCount(const QString& address) const { return int(m_calls.count(address)); }

private:
    QHash<QString, QList<Answer>> m_scripts;
    QStringList m_calls;
};

// Keeps every question open until the test answers it, as a slow site would.
class HeldUrlProbe : public AsyncUrlProbe {
public:
    void askReachable(const QString& address, QObject* context, Answer answer) override {
        m_open.append({address, context, std::move(answer)});
    }
    QStringList openQuestions() const {
        QStringList addresses;
        for (const Question& q : m_open)
            addresses << q.address;
        return addresses;
    }
    // Answers the oldest open question, as the real probe would: not once its asker is gone.
    void answerOldest(bool reachable) {
        Question q = m_open.takeFirst();
        if (q.context)
            q.answer(reachable);
    }

private:
    struct Question {
        QString address;
        QPointer<QObject> context;
        Answer answer;
    };
    QList<Question> m_open;
};

// navigateWithRetry with every answer given before it returns.
inline void navigateInline(UrlProbe& probe, const QString& address, const QString& fallback,
                           std::function<void(const QString&)> navigate) {
    InlineUrlProbe asking(probe);
    QObject context;
    navigateWithRetry(asking, address, fallback, &context, std::move(navigate));
}

} // namespace lumora::test
