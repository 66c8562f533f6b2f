#pragma once
// Whether a module's file holds what its headers promise. A module cut short
// (an install stopped by a full disk) is mapped by dlopen all the same, and
// the first touch of a page past its end kills the program with SIGBUS: it
// is refused by name first.
#include <optional>
#include <string>

namespace tessera::app {

// Why the file at `path` is no whole module (no regular file, no 64-bit ELF
// file, cut short before the end of a segment or of its section table);
// none when it is whole. A file that is not there, or any other fault, is
// left to dlopen to say.
std::optional<std::string> ModuleFileFault(const std::string& path);

}  // namespace tessera::app
