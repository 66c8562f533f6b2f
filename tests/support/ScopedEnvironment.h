#pragma once
// Environment variables set for one test; the old values come back at the end
// of scope, in reverse order.
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tessera::test {

class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    // A null value removes the variable.
    void Set(const char* name, const char* value);

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

}  // namespace tessera::test
