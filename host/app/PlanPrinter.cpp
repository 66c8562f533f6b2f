#include "app/PlanPrinter.h"

#include <algorithm>

namespace tessera::app {

std::vector<std::pair<int, int>> PageRuns(const std::vector<int>& pages) {
    std::vector<std::pair<int, int>> runs;
    for (std::size_t i = 0; i < pages.size();) {
        std::size_t j = i;
        const int step = (i + 1 < pages.size() && (pages[i + 1] - pages[i] == 1 || pages[i + 1] - pages[i] == -1))
                             ? pages[i + 1] - pages[i]
                             : 0;
        if (step != 0)
            while (j + 1 < pages.size() && pages[j + 1] - pages[j] == step) ++j;
        runs.emplace_back(pages[i], pages[j]);
        i = j + 1;
    }
    return runs;
}

std::string FormatPageRuns(const std::vector<int>& pages) {
    std::string out;
    for (const auto& [first, last] : PageRuns(pages)) {
        if (!out.empty()) out += ',';
        out += std::to_string(first);
        if (last != first) out += "-" + std::to_string(last);
    }
    return out;
}

void PrintPlan(std::ostream& out, const std::vector<host::PlannedOutput>& outputs) {
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        std::string file = outputs[i].file;
        std::replace(file.begin(), file.end(), '\\', '/');
        out << i + 1 << '\t' << file << '\t' << FormatPageRuns(outputs[i].pages);
        // A split where a value changes shows the value each output has.
        if (!outputs[i].key.empty()) out << '\t' << outputs[i].key;
        out << '\n';
    }
    out.flush();
}

}  // namespace tessera::app
