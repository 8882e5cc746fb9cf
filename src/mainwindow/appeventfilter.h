#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class QEvent;

namespace lumora {

// The application-wide message filter: right clicks inside the site's panes and Ctrl+A, F or N
// anywhere in the program never reach their target.
class ApplicationEvents1 : public QObject {
public:
    explicit ApplicationEvents1(QObject* parent = nullptr) : QObject(parent) {}
    // Right clicks inside this widget (and its children) are dropped.
    void guardRightClicks(QWidget* pane);
    // Right clicks addressed to objects for which inside answers true are dropped too (panes
    // that come and go, like the news pop-up's).
    void guardRightClicks(std::function<bool(const QObject*)> inside);
    // The decision alone, for a given event and the widget it is addressed to.
    bool swallows(QObject* target, QEvent* event) const;

protected:
    bool eventFilter(QObject* target, QEvent* event) override;

private:
    std::vector<QPointer<QWidget>> m_panes;
    std::vector<std::function<bool(const QObject*)>> m_insides;
};

} // namespace lumora
