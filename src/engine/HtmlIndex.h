#pragma once
// The HTML page that names the input and links every output.
#include <string>
#include <vector>

#include "engine/OutputNaming.h"
#include "strings/Result.h"

namespace tessera {

// The index's path: the output folder, then the source's name (cut so that the
// file name fits the file system) and "_index.htm".
std::string HtmlIndexPath(const std::string& outputFolder, const std::string& sourcePath);
// The page's text in UTF-8: entries indented by their level, texts escaped,
// links percent-encoded name by name.
std::string HtmlIndexText(const std::string& sourcePath, const std::vector<IndexEntry>& entries);
// Writes the index at `path` through a temporary file, so that it appears
// whole or not at all. A failure is shown as well as returned.
Result<> WriteHtmlIndex(const std::string& path, const std::string& sourcePath, const std::vector<IndexEntry>& entries);

}  // namespace tessera
