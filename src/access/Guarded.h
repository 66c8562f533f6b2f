#pragma once
// The one handler that shows a host error and stops it on its way to the
// command: a step that has a follow-up message of its own when it fails runs
// guarded, and so does each command as a whole (its catch site).
#include <type_traits>

#include "access/ReportHostError.h"

namespace tessera {

// Runs the step; a host error is shown with the host's text and makes the
// result false. A step that answers a bool passes its answer on; any other
// step that returns counts as true.
template <class Step>
bool Guarded(Step&& step) {
    try {
        if constexpr (std::is_same_v<std::invoke_result_t<Step>, bool>) {
            return step();
        } else {
            step();
            return true;
        }
    } catch (const host::HostError& error) {
        ReportHostError(error);
        return false;
    }
}

}  // namespace tessera
