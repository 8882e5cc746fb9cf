#include "progressrelay.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>

#include <mutex>

namespace lumora::progressrelay {
namespace {

struct State {
    std::mutex mutex;
    const void* owner = nullptr;
    Engine::ProgressHandler handler;
    QObject* target = nullptr; // lives in the user-interface thread
};

// Never destroyed: engine threads may still report while static objects are torn down.
State& state() {
    static State* s = new State;
    return *s;
}

void deliver(std::int32_t number, std::int32_t percent) {
    Engine::ProgressHandler handler;
    {
        std::lock_guard lock(state().mutex);
        handler = state().handler;
    }
    if (!handler)
        return;
    try {
        handler(number, percent);
    } catch (...) {
        // A failing progress display must not take the event loop down.
    }
}

} // namespace

void install(const void* owner, Engine::ProgressHandler handler) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (!s.target && QCoreApplication::instance()) {
        s.target = new QObject; // kept for the life of the process, like the state
        s.target->moveToThread(QCoreApplication::instance()->thread());
    }
    s.owner = owner;
    s.handler = std::move(handler);
}

void remove(const void* owner) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (s.owner != owner)
        return;
    s.owner = nullptr;
    s.handler = nullptr;
}

void report(std::int32_t number, std::int32_t percent) noexcept {
    try {
        QObject* target = nullptr;
        {
            std::lock_guard lock(state().mutex);
            if (!state().handler)
                return;
            target = state().target;
        }
        if (!target || !QCoreApplication::instance())
            return;
        QMetaObject::invokeMethod(
            target, [number, percent] { deliver(number, percent); }, Qt::QueuedConnection);
    } catch (...) {
        // Nothing may unwind into the engine's C code.
    }
}

} // namespace lumora::progressrelay
