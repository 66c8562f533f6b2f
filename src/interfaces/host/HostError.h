#pragma once
// The one error type that crosses the seam between host and plug-in. Every
// host service raises it; inside the plug-in it passes up to the catch site of
// its command (shell/GuardedCommand). Three helpers, and nothing else in the
// plug-in (tools/CheckErrorPolicy.cmake), stop it on the way:
// - show and stop: a step with a follow-up message of its own (access/Guarded.h);
// - a read with a stated fallback: a failure with a meaning named where it is
//   read, such as no value or a page kept as unreadable (access/ReadOr.h);
// - a host callback's boundary: it never goes back into the host from a
//   callback, which answers its failure status instead (access/HostCallback.h).
//
// Thrown in the program and caught in a module, it must be one type to both,
// which asks three things of the build: its key function (the destructor)
// lives in the host program (host/runtime/HostError.cpp) and nowhere in src/; the
// program, and any test program that loads the module, is linked with
// ENABLE_EXPORTS, so that the module binds to the program's type_info; and the
// module never links the host's library, so it has no copy of its own.
#include <stdexcept>
#include <string>

namespace tessera::host {

// Default visibility and an out-of-line key function keep a single type_info,
// so the plug-in module catches what the host program throws.
class __attribute__((visibility("default"))) HostError : public std::runtime_error {
public:
    HostError(int code, const std::string& text) : std::runtime_error(text), code_(code) {}
    ~HostError() override;

    int Code() const { return code_; }

private:
    int code_;
};

// Error codes the host uses; the text always says what happened.
enum HostErrorCode : int {
    kErrorGeneral = 1,
    kErrorFile = 2,
    kErrorDamaged = 3,
    kErrorPassword = 4,
    kErrorBadArgument = 5,
    kErrorPageRange = 6,
};

}  // namespace tessera::host
