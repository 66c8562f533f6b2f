#pragma once
// Reading back what a test wrote: whole files, permission bits, folder listings.
#include <string>
#include <vector>

namespace tessera::test {

// The bytes of the file; empty when it cannot be read.
std::string ReadFile(const std::string& path);
// The permission bits (0777 mask); 0 when the file does not exist.
unsigned ModeOf(const std::string& path);
// Every regular file below folder by its relative path (recursive), sorted.
std::vector<std::string> FilesBelow(const std::string& folder);
// The names of the entries directly in folder, sorted.
std::vector<std::string> NamesIn(const std::string& folder);

}  // namespace tessera::test
