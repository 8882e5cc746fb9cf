#include "appeventfilter.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace lumora {

void ApplicationEvents1::guardRightClicks(QWidget* pane) {
    m_panes.emplace_back(pane);
}

void ApplicationEvents1::guardRightClicks(std::function<bool(const QObject*)> inside) {
    m_insides.push_back(std::move(inside));
}

bool ApplicationEvents1::swallows(QObject* target, QEvent* event) const {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::ContextMenu: {
        if (event->type() != QEvent::ContextMenu &&
            static_cast<QMouseEvent*>(event)->button() != Qt::RightButton)
            return false;
        for (const auto& inside : m_insides)
            if (inside(target))
                return true;
        auto* widget = qobject_cast<QWidget*>(target);
        if (!widget)
            return false;
        for (const QPointer<QWidget>& pane : m_panes)
            if (pane && (pane == widget || pane->isAncestorOf(widget)))
                return true;
        return false;
    }
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!(key->modifiers() & Qt::ControlModifier))
            return false;
        return key->key() == Qt::Key_A || key->key() == Qt::Key_F || key->key() == Qt::Key_N;
    }
    default:
        return false;
    }
}

bool ApplicationEvents1::eventFilter(QObject* target, QEvent* event) {
    return swallows(target, event);
}

} // namespace lumora
