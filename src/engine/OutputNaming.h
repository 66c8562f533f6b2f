#pragma once
// Gives every planned output its file path and its entry in the HTML index.
#include <ctime>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "access/DocumentHandle.h"
#include "model/SplitSettings.h"

namespace tessera {

struct IndexEntry {
    std::string file;  // relative to the output folder, "\" marking subfolders
    std::string title;
    int level = 0;  // indentation depth
    // What the name was made of: "names-list", "template", "bookmark",
    // "document" (a hand-made output's name), "value" (the value that
    // changed), or the suffix: "number", "letter", "pages", "label", "text".
    std::string source;
};

// The longest file or folder name the file system takes, in bytes.
inline constexpr std::size_t kMaxFileNameBytes = 255;
inline constexpr std::string_view kPdfExtension = ".pdf";

// The output names a run has handed out, compared without regard to case.
class UsedNames {
public:
    // `stem` is a relative name without ".pdf", "\" marking subfolders. Each
    // folder name is cut to kMaxFileNameBytes and the file name so that it fits
    // with ".pdf"; then "_1", "_2", ... replace the end until the whole name is
    // new. The result is remembered before it is returned.
    std::string MakeUniqueName(std::string_view stem);

private:
    std::set<std::string> names_;
    // Per stem, the number its next "_k" try starts from: names only ever
    // join the set, so the numbers tried before stay taken, and thousands of
    // outputs with one name cost one try each.
    std::unordered_map<std::string, int> nextNumber_;
};

// The localised name of month 1 to 12; "Unknown" for any other number.
std::string MonthName(int month);
// The prefix of every automatic name, by FileNameAutoPrefix.
std::string NamePrefix(const FilenameSettings& settings, const std::string& sourcePath, const std::tm& today);

// Sets each output's Filename to its full path (OutputFolder + name + ".pdf")
// and returns the index entries, one per output in list order.
std::vector<IndexEntry> NameOutputs(SplitSettings& settings, const DocumentHandle& source, const std::tm& today);

// A path as the file system takes it: the "\" subfolder marks of the part
// after the output folder become "/".
std::string FileSystemPath(const std::string& outputFolder, const std::string& filename);

}  // namespace tessera
