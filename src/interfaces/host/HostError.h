#pragma once
// The one error type that crosses the seam between host and plug-in. A guarded
// group of host calls is a try block that catches it.
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
