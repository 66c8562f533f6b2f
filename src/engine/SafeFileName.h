#pragma once
// Making texts fit to be file names.
#include <string>
#include <string_view>

namespace tessera {

enum class NameCharSet {
    General,   // whole names: the backslash survives as the subfolder mark
    Bookmark,  // one bookmark title: the backslash is replaced too
};

// Replaces every character of the set with "_", and each character that shows
// nothing but changes how a name reads (C1 controls, bidirectional marks and
// overrides, line separators, a byte-order mark); other bytes from 128 never are.
// The bookmark variant first cuts the text to 254 characters. `unchanged`
// tells whether nothing had to be replaced.
std::string MakeSafe(std::string_view text, NameCharSet set, bool* unchanged = nullptr);

}  // namespace tessera
