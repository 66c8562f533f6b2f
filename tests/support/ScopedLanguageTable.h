#pragma once
// The process-wide language table for one test: it starts with the given lines
// only and is put back as it was at the end of scope.
#include <initializer_list>
#include <string_view>

#include "strings/LanguageTable.h"

namespace tessera::test {

class ScopedLanguageTable {
public:
    explicit ScopedLanguageTable(std::initializer_list<std::string_view> lines = {});
    ~ScopedLanguageTable();
    ScopedLanguageTable(const ScopedLanguageTable&) = delete;
    ScopedLanguageTable& operator=(const ScopedLanguageTable&) = delete;

private:
    LanguageTable saved_;
};

}  // namespace tessera::test
