#pragma once
// What reading a user's text gives: the value, or the one-line message that
// says what is wrong with the text.
#include <string>
#include <utility>
#include <variant>

namespace tessera {

// The message of a text that could not be read.
struct ParseFailure {
    std::string message;
};

template <class T>
class Parsed {
public:
    Parsed(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Parsed(ParseFailure failure) : state_(std::in_place_index<1>, std::move(failure.message)) {}

    explicit operator bool() const { return state_.index() == 0; }
    // The value; only when there is one.
    T& operator*() { return std::get<0>(state_); }
    const T& operator*() const { return std::get<0>(state_); }
    // The message; only when there is no value.
    const std::string& Failure() const { return std::get<1>(state_); }

private:
    std::variant<T, std::string> state_;
};

}  // namespace tessera
