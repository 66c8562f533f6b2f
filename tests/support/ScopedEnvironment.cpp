#include "support/ScopedEnvironment.h"

#include <cstdlib>

namespace tessera::test {

void ScopedEnvironment::Set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
}

ScopedEnvironment::~ScopedEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
        it->second ? ::setenv(it->first, it->second->c_str(), 1) : ::unsetenv(it->first);
}

}  // namespace tessera::test
