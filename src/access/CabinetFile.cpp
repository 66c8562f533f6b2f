#include "access/CabinetFile.h"

#include "access/Host.h"
#include "access/ReadOr.h"

namespace tessera {
namespace {

// Far above the largest list the dialog could hold, far below what would
// strain memory when parsed.
constexpr std::size_t kMaxCabinetFileBytes = 32u << 20;

// The host's file errors name the file; its stream errors do not.
std::string Named(const std::string& path, const std::string& reason) {
    return reason.find(path) == std::string::npos ? path + ": " + reason : reason;
}

}  // namespace

Result<host::Cabinet> ReadCabinetFile(const std::string& path) {
    return ReadOr(
        [&](const host::HostError& error) -> Result<host::Cabinet> { return Failure{Named(path, error.what())}; },
        "the caller shows why the file gave no list",
        [&]() -> Result<host::Cabinet> {
            return Host().cabinets->ReadStream(Host().files->ReadFile(path, kMaxCabinetFileBytes));
        });
}

Result<> WriteCabinetFile(const std::string& path, const host::Cabinet& cabinet) {
    return ReadOr([&](const host::HostError& error) -> Result<> { return Failure{Named(path, error.what())}; },
                  "the caller shows why the file was not written",
                  [&]() -> Result<> {
                      Host().files->WriteFile(path, Host().cabinets->WriteStream(cabinet));
                      return {};
                  });
}

}  // namespace tessera
