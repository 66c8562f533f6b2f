#pragma once
// What an operation that can fail gives: its value, or the reason it failed.
// The reason is the message as the user reads it (looked up and formatted,
// naming the file or text it is about), so that whoever stops on it shows it,
// stores it in a batch line or prefixes it without knowing where it came from.
// Result<> is the form without a value.
#include <string>
#include <utility>
#include <variant>

namespace tessera {

// The reason of a failure, to make a Result from.
struct Failure {
    std::string reason;
};

template <class T = void>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure.reason)) {}

    explicit operator bool() const { return state_.index() == 0; }
    // The value; only when there is one.
    T& operator*() { return std::get<0>(state_); }
    const T& operator*() const { return std::get<0>(state_); }
    T* operator->() { return &std::get<0>(state_); }
    const T* operator->() const { return &std::get<0>(state_); }
    // The reason; only when there is no value.
    const std::string& Reason() const { return std::get<1>(state_); }

private:
    std::variant<T, std::string> state_;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failed_(true), reason_(std::move(failure.reason)) {}

    explicit operator bool() const { return !failed_; }
    // The reason; empty when it succeeded.
    const std::string& Reason() const { return reason_; }

private:
    bool failed_ = false;
    std::string reason_;
};

}  // namespace tessera
