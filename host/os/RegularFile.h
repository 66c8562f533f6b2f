#pragma once
// Files the host reads whole: only regular files, so that a FIFO, a device or
// a socket named where a file is expected is refused at once instead of
// blocking the open or reading without end.
#include <cstddef>
#include <string>

namespace tessera::pdf {

// HostError saying why (without the path) when `path`, links followed, is there
// and is not a regular file; a file that is not there is left to its reader.
void CheckRegularFile(const std::string& path);
// The whole file; HostError saying why when it is not a regular file, cannot
// be read or holds more than `maxBytes`.
std::string ReadRegularFile(const std::string& path, std::size_t maxBytes);

}  // namespace tessera::pdf
