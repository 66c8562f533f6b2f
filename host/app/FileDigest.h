#pragma once
// What a file holds, as scripts compare it: its SHA-256.
#include <optional>
#include <string>

namespace tessera::app {

// The SHA-256 of the file's bytes in lowercase hex; none when it cannot be read.
std::optional<std::string> FileSha256(const std::string& path);
// The SHA-256 of a text, likewise.
std::string TextSha256(const std::string& text);

}  // namespace tessera::app
