#pragma once

#include <QJsonObject>
#include <QObject>

#include <functional>

namespace lumora {

// The one object the host page sees through the web channel: it can only report its state,
// so a movie that reaches the page's scripts can at worst misreport its own frames.
class FlashPageBridge : public QObject {
    Q_OBJECT
public:
    explicit FlashPageBridge(std::function<void(const QJsonObject&)> onReport,
                             QObject* parent = nullptr)
        : QObject(parent), m_onReport(std::move(onReport)) {}

    Q_INVOKABLE void report(const QJsonObject& state) { m_onReport(state); }

private:
    std::function<void(const QJsonObject&)> m_onReport;
};

} // namespace lumora
