#pragma once
// The third habit of the error policy (interfaces/host/HostError.h): a host
// error never goes back into the host from one of its callbacks. Each callback
// body runs inside this boundary, which turns the error into the status the
// callback answers.
#include <type_traits>

#include "host/HostError.h"

namespace tessera {

// Answers body(); on a host error answers `failed`: a status, or a function of
// the error giving one (which may report the host's text first).
template <class Failed, class Body>
std::invoke_result_t<Body&> AtHostCallback(Failed&& failed, Body&& body) {
    using Status = std::invoke_result_t<Body&>;
    try {
        return body();
    } catch (const host::HostError& error) {
        if constexpr (std::is_invocable_v<Failed&, const host::HostError&>)
            return failed(error);
        else if constexpr (std::is_void_v<Status>)
            static_cast<void>(failed);
        else
            return Status(failed);
    }
}

}  // namespace tessera
