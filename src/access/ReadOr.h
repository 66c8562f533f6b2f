#pragma once
// The second habit of the error policy (interfaces/host/HostError.h): a read
// whose failure has a meaning of its own. The caller states that meaning as
// the second argument, where the fallback is chosen, so the reader of the call
// sees why a host error may end here and nowhere else.
#include <type_traits>
#include <utility>

#include "host/HostError.h"

namespace tessera {

// The fallback of a step that leaves nothing behind when the host fails.
struct NothingLeft {};

// Answers read(); on a host error answers the fallback instead: a value, or a
// function of the error giving one (which may keep the host's text, or pass
// the error on with `throw;`).
template <class Fallback, class Read>
std::invoke_result_t<Read&> ReadOr(Fallback&& fallback, [[maybe_unused]] const char* meaning, Read&& read) {
    using Value = std::invoke_result_t<Read&>;
    try {
        return read();
    } catch (const host::HostError& error) {
        if constexpr (std::is_invocable_v<Fallback&, const host::HostError&>) {
            return fallback(error);
        } else if constexpr (std::is_same_v<std::decay_t<Fallback>, NothingLeft>) {
            static_assert(std::is_void_v<Value>, "only a step that answers nothing leaves nothing");
        } else {
            return Value(std::forward<Fallback>(fallback));
        }
    }
}

}  // namespace tessera
