#pragma once
// Cabinet files (profiles) in the host's stream form, through its files.
#include <string>

#include "host/Cabinet.h"
#include "strings/Result.h"

namespace tessera {

// The cabinet the file holds; else the host's reason, naming the file. A file
// larger than any profile could be is not read.
Result<host::Cabinet> ReadCabinetFile(const std::string& path);
// Replaces the file whole or not at all; else the host's reason, naming the file.
Result<> WriteCabinetFile(const std::string& path, const host::Cabinet& cabinet);

}  // namespace tessera
