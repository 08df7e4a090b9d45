// core: how a fallible operation answers. A Result holds the value it made
// or a Failure: one line saying why, for the user, and the kind of failure,
// for callers that answer kinds differently (an exit status, a fallback).
// Status is the Result of an operation that makes no value. Standard
// library only.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace tolmeri {

enum class FailureKind {
    kFailed,  // tried and could not: a read, a write, a picture
    kRefused, // not tried: the input or the target is not acceptable
    kAbsent,  // what was asked for does not exist
};

struct Failure {
    FailureKind kind = FailureKind::kFailed;
    std::string message;
};

inline Failure Fail(std::string message, FailureKind kind = FailureKind::kFailed) {
    return {kind, std::move(message)};
}
inline Failure Refuse(std::string message) {
    return {FailureKind::kRefused, std::move(message)};
}

template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : m_value(std::in_place_index<1>, std::move(failure)) {}

    bool Ok() const { return m_value.index() == 0; }
    explicit operator bool() const { return Ok(); }

    // Only when Ok.
    T& Value() { return std::get<0>(m_value); }
    const T& Value() const { return std::get<0>(m_value); }
    T& operator*() { return Value(); }
    const T& operator*() const { return Value(); }
    T* operator->() { return &Value(); }
    const T* operator->() const { return &Value(); }

    // Only when not Ok.
    const Failure& Error() const { return std::get<1>(m_value); }
    FailureKind Kind() const { return Error().kind; }
    const std::string& Message() const { return Error().message; }

private:
    std::variant<T, Failure> m_value;
};

template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : m_failure(std::move(failure)) {}

    bool Ok() const { return !m_failure.has_value(); }
    explicit operator bool() const { return Ok(); }

    // Only when not Ok.
    const Failure& Error() const { return *m_failure; }
    FailureKind Kind() const { return Error().kind; }
    const std::string& Message() const { return Error().message; }

private:
    std::optional<Failure> m_failure;
};

using Status = Result<void>;

} // namespace tolmeri
