#pragma once
// What a file holds, as scripts compare it: its SHA-256.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessera::app {

// The SHA-256 of the file's bytes in lowercase hex; none when it cannot be read.
std::optional<std::string> FileSha256(const std::string& path);
// The SHA-256 of a text, likewise.
std::string TextSha256(const std::string& text);
// A quick hash of a text (FNV-1a), the same on every machine and run.
std::uint64_t StableHash(std::string_view text);
// The same as 16 lowercase hex digits, for names of files.
std::string StableHashHex(std::string_view text);

}  // namespace tessera::app
