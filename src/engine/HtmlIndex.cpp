#include "engine/HtmlIndex.h"

#include <cstdio>
#include <random>

#include "access/Host.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"
#include "strings/Utf8Text.h"

namespace tessera {
namespace {

constexpr std::string_view kIndexEnding = "_index.htm";

std::string FileName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithoutExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// Names and titles are the user's and the document's own: they may hold
// markup, and must show as text.
std::string EscapeHtml(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

// A relative link: each folder and file name percent-encoded ("#", "?", "%"
// and blanks would otherwise cut or change the link), "/" between them.
std::string LinkTo(std::string_view file) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : file) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\')
            out += '/';
        else if (IsUnreserved(byte))
            out += c;
        else
            out += {'%', kHex[byte >> 4], kHex[byte & 15]};
    }
    return out;
}

// A name in the index's folder that no other run picks at the same time.
std::string TemporaryPath(const std::string& outputFolder) {
    std::random_device random;
    return outputFolder + FormatText(".tessera-%d.part", {std::int64_t{random() & 0x7fffffff}});
}

// The whole text under `path` or nothing: a cut index would lose links.
bool WriteThroughTemporary(const std::string& path, const std::string& folder, const std::string& text) {
    const std::string temporary = TemporaryPath(folder);
    std::FILE* file = std::fopen(temporary.c_str(), "wbx");  // never someone else's file
    if (!file) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool flushed = std::fflush(file) == 0;
    if (std::fclose(file) == 0 && written && flushed && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    std::remove(temporary.c_str());
    return false;
}

}  // namespace

std::string HtmlIndexPath(const std::string& outputFolder, const std::string& sourcePath) {
    // Beside the outputs: the folder ends in "/", or is empty for the current folder.
    const std::string stem = WithoutExtension(FileName(sourcePath));
    return outputFolder + CutToBytes(stem, kMaxFileNameBytes - kIndexEnding.size()) + std::string(kIndexEnding);
}

std::string HtmlIndexText(const std::string& sourcePath, const std::vector<IndexEntry>& entries) {
    std::string text = "<HTML>\n<HEAD>\n<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n";
    text += "<TITLE>" + EscapeHtml(FileName(sourcePath)) + "</TITLE>\n</HEAD>\n<BODY>\n";
    text += "<H2>Input document: " + EscapeHtml(sourcePath) + "</H2>\n<H2>Output documents:</H2>\n";
    for (const IndexEntry& e : entries) {
        for (int i = 0; i < e.level; ++i) text += "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";
        text += "<A href=\"" + LinkTo(e.file) + "\">" + EscapeHtml(e.title) + "</A><BR>\n";
    }
    return text + "</BODY>\n</HTML>\n";
}

Result<> WriteHtmlIndex(const std::string& path, const std::string& sourcePath,
                        const std::vector<IndexEntry>& entries) {
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    if (WriteThroughTemporary(path, folder, HtmlIndexText(sourcePath, entries))) return {};
    const std::string text = FormatText(LookupString("IDS_HTML_INDEX_NOT_WRITTEN"), {path});
    Host().viewer->Alert(text);
    return Failure{text};
}

}  // namespace tessera
