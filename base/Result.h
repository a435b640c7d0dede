#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace base {

// Why an operation failed, as the caller will show or log it; what a failing Result is made from.
template <class E = std::string>
struct Failure {
    E reason;
};
template <class E>
Failure(E) -> Failure<E>;
// clang-format 14 takes this guide for an arrow operator.
// clang-format off
Failure(const char*) -> Failure<std::string>;
// clang-format on

// What an operation that can fail gives: its value, or the reason it failed. The program's one way of
// saying "it failed", in the shape of C++23's std::expected (which this compiler ships only for C++23
// and not for the clang that builds the fuzz targets).
template <class T, class E = std::string>
class [[nodiscard]] Result {
public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}  // NOLINT: implicit, as expected
    template <class F, class = std::enable_if_t<std::is_convertible_v<F, E>>>
    Result(Failure<F> failure) : m_state(std::in_place_index<1>, std::move(failure.reason)) {}  // NOLINT

    bool hasValue() const { return m_state.index() == 0; }
    explicit operator bool() const { return hasValue(); }
    T& value() & { return std::get<0>(m_state); }
    const T& value() const& { return std::get<0>(m_state); }
    T&& value() && { return std::get<0>(std::move(m_state)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const E& error() const { return std::get<1>(m_state); }
    template <class U>
    T valueOr(U&& fallback) const& {
        return hasValue() ? value() : static_cast<T>(std::forward<U>(fallback));
    }

private:
    std::variant<T, E> m_state;
};

// A Result that carries no value: success, or the reason it failed.
template <class E>
class [[nodiscard]] Result<void, E> {
public:
    Result() = default;
    template <class F, class = std::enable_if_t<std::is_convertible_v<F, E>>>
    Result(Failure<F> failure) : m_failed(true), m_reason(std::move(failure.reason)) {}  // NOLINT

    bool hasValue() const { return !m_failed; }
    explicit operator bool() const { return hasValue(); }
    const E& error() const { return m_reason; }

private:
    bool m_failed = false;
    E m_reason{};
};

using Status = Result<void>;

}  // namespace base
