#include "engine/HtmlIndex.h"

#include <fstream>

namespace tessera {
namespace {

std::string FileName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithoutExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

std::string HtmlIndexPath(const std::string& outputFolder, const std::string& sourcePath) {
    // Beside the outputs: the folder ends in "/", or is empty for the current folder.
    return outputFolder + WithoutExtension(FileName(sourcePath)) + "_index.htm";
}

std::string HtmlIndexText(const std::string& sourcePath, const std::vector<IndexEntry>& entries) {
    std::string text = "<HTML>\n<HEAD>\n<TITLE>" + FileName(sourcePath) + "</TITLE>\n<BODY>\n";
    text += "<H2>Input document: " + sourcePath + "</H2>\n<H2>Output documents:</H2>\n";
    for (const IndexEntry& e : entries) {
        for (int i = 0; i < e.level; ++i) text += "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";
        std::string href = e.file;
        for (char& c : href)
            if (c == '\\') c = '/';  // the link must find the file in its subfolder
        text += "<A href=\"" + href + "\">" + e.title + "</A><BR>\n";
    }
    return text + "</BODY>\n</HTML>\n";
}

void WriteHtmlIndex(const std::string& outputFolder, const std::string& sourcePath,
                    const std::vector<IndexEntry>& entries) {
    std::ofstream out(HtmlIndexPath(outputFolder, sourcePath), std::ios::binary | std::ios::trunc);
    if (out) out << HtmlIndexText(sourcePath, entries);
}

}  // namespace tessera
