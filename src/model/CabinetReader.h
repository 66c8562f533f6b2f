#pragma once
// Typed reads from a stored cabinet tree (profiles, batch parameters). A value
// that is missing takes the caller's default; a value of another type than
// the key holds is refused, never replaced by a default, since it means the
// tree was edited or damaged. The one exception is a whole number where a real
// is kept: hand-edited profiles write "AreaLeft": 72.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "host/Cabinet.h"

namespace tessera {

// A refused tree; the text names the key path ("Doc1/Range0/NumPages") and why.
class CabinetRefusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class CabinetReader {
public:
    // `path` is where the cabinet sits in its tree, for the refusals' texts.
    CabinetReader(const host::Cabinet& cabinet, std::string path = {}) : cabinet_(cabinet), path_(std::move(path)) {}

    bool Flag(const std::string& key, bool otherwise) const;
    std::int32_t Integer(const std::string& key, std::int32_t otherwise) const;
    double Real(const std::string& key, double otherwise) const;
    std::string Text(const std::string& key) const;  // empty when missing
    // The nested cabinet, or none when it is missing.
    std::optional<CabinetReader> Nested(const std::string& key) const;
    // The nested cabinet; refused when it is missing.
    CabinetReader Required(const std::string& key) const;

    // Refuses the tree at `key` of this cabinet.
    [[noreturn]] void Refuse(const std::string& key, const std::string& why) const;

private:
    template <class T>
    std::optional<T> Typed(const std::string& key, const char* typeName) const;

    const host::Cabinet& cabinet_;
    std::string path_;
};

}  // namespace tessera
