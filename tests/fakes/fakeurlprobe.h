#pragma once

#include "urlprobe.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>
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

} // namespace lumora::test
