#include "engine/KeyChangeSplit.h"

#include <map>

namespace tessera {

std::vector<KeyedPages> SplitAtKeyChanges(const std::vector<std::optional<std::string>>& keys, KeyChangeRules rules) {
    std::vector<KeyedPages> outputs;
    std::map<std::string, std::size_t> outputOfKey;
    std::size_t current = 0;
    bool currentHasKey = false;
    for (int page = 0; page < static_cast<int>(keys.size()); ++page) {
        const std::optional<std::string>& key = keys[static_cast<std::size_t>(page)];
        if (!key) {
            if (outputs.empty() || (rules.missingStartsNew && currentHasKey)) {
                outputs.push_back({});
                current = outputs.size() - 1, currentHasKey = false;
            }
        } else if (outputs.empty() || !currentHasKey || outputs[current].key != *key) {
            const auto seen = outputOfKey.find(*key);
            if (rules.groupSameKey && seen != outputOfKey.end()) {
                current = seen->second;
            } else {
                outputs.push_back({*key, {}});
                current = outputs.size() - 1;
                outputOfKey[*key] = current;
            }
            currentHasKey = true;
        }
        outputs[current].pages.push_back(page);
    }
    return outputs;
}

}  // namespace tessera
