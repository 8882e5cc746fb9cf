#pragma once

#include <QString>

#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

namespace lumora {

// Why an operation the user started could not be done; the message is the text the standard
// error box shows.
struct Failure {
    QString message;
};

// What an operation that may fail gives back: its value or its Failure. Failures travel as
// values because an exception must not cross Qt's signal and event frames.
template <class T> class [[nodiscard]] Outcome {
public:
    template <class U = T>
    requires(std::is_constructible_v<T, U> && !std::is_same_v<std::remove_cvref_t<U>, Failure> &&
             !std::is_same_v<std::remove_cvref_t<U>, Outcome>) Outcome(U&& value)
        : m_state(std::in_place_index<0>, std::forward<U>(value)) {}
    Outcome(Failure failure) : m_state(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return std::get<0>(m_state); }
    T&& value() && { return std::get<0>(std::move(m_state)); } // for values that only move
    const T& operator*() const { return value(); }
    const T* operator->() const { return &value(); }
    const Failure& failure() const { return std::get<1>(m_state); }

private:
    std::variant<T, Failure> m_state;
};

// An operation that gives nothing back but may fail.
template <> class [[nodiscard]] Outcome<void> {
public:
    Outcome() = default;
    Outcome(Failure failure) : m_failure(std::move(failure)) {}

    bool ok() const { return !m_failure; }
    explicit operator bool() const { return ok(); }
    const Failure& failure() const { return *m_failure; }

private:
    std::optional<Failure> m_failure;
};

using Done = Outcome<void>;

} // namespace lumora
