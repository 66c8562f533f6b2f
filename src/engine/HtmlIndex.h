#pragma once
// The HTML page that names the input and links every output.
#include <string>
#include <vector>

#include "engine/OutputNaming.h"

namespace tessera {

// The index's path: the output folder, then the source's name and "_index.htm".
std::string HtmlIndexPath(const std::string& outputFolder, const std::string& sourcePath);
// The page's text; entries are indented by their level and written unescaped,
// as the names and titles are the user's own.
std::string HtmlIndexText(const std::string& sourcePath, const std::vector<IndexEntry>& entries);
// Writes the index; a file that cannot be written is skipped without a message.
void WriteHtmlIndex(const std::string& outputFolder, const std::string& sourcePath,
                    const std::vector<IndexEntry>& entries);

}  // namespace tessera
