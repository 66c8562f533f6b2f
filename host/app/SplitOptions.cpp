#include "app/SplitOptions.h"

#include <charconv>

namespace tessera::app {
namespace {

int ParseLevel(const std::string& text, const std::string& whole) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1)
        throw CLI::ValidationError("--bookmarks", "expected a level from 1 up, or a range of levels such as 1-3, at \"" +
                                                      text + "\" in \"" + whole + "\"");
    return value;
}

}  // namespace

void AddSplitOptions(CLI::App& split, SplitRequest& r) {
    split.add_option("input", r.input, "The PDF document to split")->required()->check(CLI::ExistingFile);
    auto* equal = split.add_option("--equal", r.equal, "Split into outputs of N pages each (the last holds the rest)")
                      ->check(CLI::PositiveNumber);
    split.add_option("--bookmarks", r.bookmarks,
                     "Split at the bookmarks of level A, or of levels A to B (top level is 1)")
        ->type_name("A[-B]")
        ->excludes(equal);
    split.add_option("--password", r.password, "Password that opens an encrypted input");
    split.add_flag("--dry-run", r.dryRun,
                   "Print the planned outputs (number, name, pages) as tab-separated lines; write nothing");
    split.add_flag("--reset", r.reset, "Start from the initial settings instead of the stored ones");
    split.add_flag("--quiet", r.quiet, "No progress bar");
    split.add_flag("--yes", r.yes, "Answer yes to every question");
}

void ApplySplitOptions(const SplitRequest& r, SplitSettings& s) {
    if (r.equal) {
        s.SplitMode = EqualPages;
        s.Output.NumEqualPages = *r.equal;
    }
    if (r.bookmarks) {
        const std::string& text = *r.bookmarks;
        const std::size_t dash = text.find('-');
        s.SplitMode = BookmarkLevels;
        s.Output.StartBookmarkLevel = ParseLevel(text.substr(0, dash), text);
        s.Output.EndBookmarkLevel =
            dash == std::string::npos ? s.Output.StartBookmarkLevel : ParseLevel(text.substr(dash + 1), text);
    }
}

}  // namespace tessera::app
