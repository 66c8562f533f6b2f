// Cutting where a page's key changes: pages without a key, keys seen again.
#include "engine/KeyChangeSplit.h"

namespace tessera {
namespace {

// Keys as letters, "-" for a page without one; outputs as "key:pages".
std::string Cut(const std::string& letters, KeyChangeRules rules = {}) {
    std::vector<std::optional<std::string>> keys;
    for (const char c : letters) keys.push_back(c == '-' ? std::nullopt : std::optional<std::string>(std::string(1, c)));
    std::string out;
    for (const KeyedPages& o : SplitAtKeyChanges(keys, rules)) {
        out += (out.empty() ? "" : " ") + o.key + ":";
        for (const int p : o.pages) out += std::to_string(p + 1);
    }
    return out;
}

TEST(KeyChangeSplitTest, OutputsStartWhereTheKeyChangesAsTheRulesSay) {
    EXPECT_EQ(Cut("AAABBC"), "A:123 B:45 C:6");
    EXPECT_EQ(Cut("A--B-"), "A:123 B:45") << "the key only on each document's first page";
    EXPECT_EQ(Cut("--AB"), ":12 A:3 B:4") << "a cover belongs to no key";
    EXPECT_EQ(Cut("A--B-", {.missingStartsNew = true}), "A:1 :23 B:4 :5");
    EXPECT_EQ(Cut("AABAA"), "A:12 B:3 A:45") << "a key seen again starts an output";
    EXPECT_EQ(Cut("AAB-A-", {.groupSameKey = true}), "A:1256 B:34");
    EXPECT_EQ(Cut(""), "");
}

}  // namespace
}  // namespace tessera
