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

Parsed<host::Cabinet> ReadCabinetFile(const std::string& path) {
    return ReadOr([&](const host::HostError& error) -> Parsed<host::Cabinet> {
        return ParseFailure{Named(path, error.what())};
    }, "the caller shows why the file gave no list", [&]() -> Parsed<host::Cabinet> {
        return Host().cabinets->ReadStream(Host().files->ReadFile(path, kMaxCabinetFileBytes));
    });
}

std::optional<std::string> WriteCabinetFile(const std::string& path, const host::Cabinet& cabinet) {
    return ReadOr([&](const host::HostError& error) -> std::optional<std::string> { return Named(path, error.what()); },
                  "the caller shows why the file was not written", [&]() -> std::optional<std::string> {
                      Host().files->WriteFile(path, Host().cabinets->WriteStream(cabinet));
                      return std::nullopt;
                  });
}

}  // namespace tessera
