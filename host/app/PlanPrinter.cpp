#include "app/PlanPrinter.h"

#include "engine/PageSelection.h"

namespace tessera::app {

std::string FormatPageRuns(const std::vector<int>& pages) {
    std::string out;
    for (std::size_t i = 0; i < pages.size();) {
        std::size_t j = i;
        const int step = (i + 1 < pages.size() && (pages[i + 1] - pages[i] == 1 || pages[i + 1] - pages[i] == -1))
                             ? pages[i + 1] - pages[i]
                             : 0;
        if (step != 0)
            while (j + 1 < pages.size() && pages[j + 1] - pages[j] == step) ++j;
        if (!out.empty()) out += ',';
        out += std::to_string(pages[i] + 1);
        if (j > i) out += "-" + std::to_string(pages[j] + 1);
        i = j + 1;
    }
    return out;
}

void PrintPlan(std::ostream& out, const OutputList& outputs, const std::vector<std::string>& names,
               int sourcePageCount) {
    for (std::size_t i = 0; i < outputs.size(); ++i)
        out << i + 1 << '\t' << (i < names.size() ? names[i] : "") << '\t'
            << FormatPageRuns(OutputPages(outputs[i], sourcePageCount)) << '\n';
}

}  // namespace tessera::app
