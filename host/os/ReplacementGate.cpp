#include "os/ReplacementGate.h"

#include <sys/stat.h>

#include <utility>

namespace tessera::app {
namespace {

std::function<bool()>& Gate() {
    static std::function<bool()> gate;
    return gate;
}

}  // namespace

void SetReplacementGate(std::function<bool()> mayReplace) { Gate() = std::move(mayReplace); }

bool MayReplace(const std::string& target) {
    struct stat status {};
    if (!Gate() || ::lstat(target.c_str(), &status) != 0) return true;
    return Gate()();
}

}  // namespace tessera::app
