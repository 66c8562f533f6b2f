#include "report/PlanPrinter.h"

#include <algorithm>

#include "report/TerminalText.h"

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

std::vector<DroppedRun> DroppedRuns(const std::vector<host::DroppedPageEntry>& dropped) {
    std::vector<DroppedRun> runs;
    for (const host::DroppedPageEntry& page : dropped) {
        DroppedRun* last = runs.empty() ? nullptr : &runs.back();
        if (last && last->last + 1 == page.page && last->first.reason == page.reason && last->first.kind == page.kind &&
            last->first.value == page.value)
            last->last = page.page;
        else
            runs.push_back({page, page.page});
    }
    return runs;
}

namespace {

std::string Shown(std::string file) {
    std::replace(file.begin(), file.end(), '\\', '/');
    return file;
}

void PrintAccount(std::ostream& out, const std::vector<host::PlannedOutput>& outputs,
                  const host::PageAccount& account) {
    for (const int number : account.emptyOutputs)
        out << "no-pages\t" << number << '\t' << Shown(outputs.at(static_cast<std::size_t>(number - 1)).file) << '\n';
    for (const DroppedRun& run : DroppedRuns(account.dropped)) {
        out << "dropped\t" << run.first.page;
        if (run.last != run.first.page) out << '-' << run.last;
        out << '\t' << run.first.reason << '\t' << run.first.kind << '\t' << EscapedForTerminal(run.first.value, false)
            << '\n';
    }
    if (!account.inNoOutput.empty()) out << "in-no-output\t" << FormatPageRuns(account.inNoOutput) << '\n';
    for (const host::PagesBeyondDocument& beyond : account.beyondDocument) {
        out << "beyond-document\t" << beyond.output << '\t' << beyond.first;
        if (beyond.last != beyond.first) out << '-' << beyond.last;
        out << '\n';
    }
}

}  // namespace

void PrintPlan(std::ostream& out, const std::vector<host::PlannedOutput>& outputs, const host::PageAccount& account) {
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        out << i + 1 << '\t' << Shown(outputs[i].file) << '\t' << FormatPageRuns(outputs[i].pages);
        // A split where a value changes shows the value each output has.
        if (!outputs[i].key.empty()) out << '\t' << EscapedForTerminal(outputs[i].key, false);
        // A key read by OCR may be misread: how sure the reading was.
        if (!outputs[i].key.empty() && outputs[i].keyOcrConfidence >= 0)
            out << "\tocr:" << outputs[i].keyOcrConfidence << '%';
        out << '\n';
    }
    PrintAccount(out, outputs, account);
    out.flush();
}

}  // namespace tessera::app
