#pragma once
// Outputs that start where a page's key changes: the text in an area, a
// pattern's match, a label's prefix, the page's size. The keys are read
// elsewhere; this only cuts.
#include <optional>
#include <string>
#include <vector>

namespace tessera {

struct KeyedPages {
    std::string key;         // empty for pages that have none
    std::vector<int> pages;  // 0-based, ascending
};

struct KeyChangeRules {
    // A page without a key starts an output of its own (and the pages without
    // one that follow it join it) rather than staying with the output before.
    bool missingStartsNew = false;
    // Every page of one key goes to one output, in page order, rather than a
    // key seen again later starting an output of its own.
    bool groupSameKey = false;
};

// One output per run of pages with one key, as the rules say, in the order
// their first pages come. Pages without a key before the first key make an
// output of their own: they belong to no key.
std::vector<KeyedPages> SplitAtKeyChanges(const std::vector<std::optional<std::string>>& keys, KeyChangeRules rules);

}  // namespace tessera
