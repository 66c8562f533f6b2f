#include "e2e/E2eSupport.h"

#include <algorithm>
#include <sstream>

namespace tessera::test {

CommandResult Tessera(const TempFolder& config, const std::string& arguments) {
    return RunCommand("XDG_CONFIG_HOME=" + ShellQuote(config.Path()) + " HOME=" + ShellQuote(config.Path()) + " " +
                      ShellQuote(TESSERA_EXE) + " " + arguments);
}

std::string Data(const std::string& name) { return ShellQuote(std::string(TESSERA_TEST_DATA) + "/" + name); }

nlohmann::json QpdfJson(const std::string& file, const std::string& keys) {
    const CommandResult r = RunCommand("qpdf --json " + keys + " " + file + " 2>/dev/null");
    return nlohmann::json::parse(r.output);
}

std::vector<std::string> PageContents(const std::string& file) {
    const std::string qdf = RunCommand("qpdf --decrypt --qdf --coalesce-contents --object-streams=disable " +
                                       ShellQuote(file) + " -").output;
    const std::string mark = "%% Contents for page ";
    std::vector<std::string> pages;
    for (std::size_t at = qdf.find(mark); at != std::string::npos; at = qdf.find(mark, at + 1)) {
        const std::size_t start = qdf.find("stream\n", at);
        pages.push_back(qdf.substr(start, qdf.find("endstream", start) - start));
    }
    return pages;
}

std::vector<std::vector<std::string>> PlanLines(const std::string& output) {
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::size_t start = 0, tab;
        while ((tab = line.find('\t', start)) != std::string::npos) {
            fields.push_back(line.substr(start, tab - start));
            start = tab + 1;
        }
        fields.push_back(line.substr(start));
        lines.push_back(fields);
    }
    return lines;
}

std::string JoinPages(const std::set<int>& pages) {
    std::string out;
    for (int p : pages) out += (out.empty() ? "" : ",") + std::to_string(p);
    return out;
}

std::string PlannedPages(const CommandResult& r) {
    const auto lines = PlanLines(r.output);
    if (lines.empty()) return "";
    if (lines.size() != 1) return "(" + std::to_string(lines.size()) + " outputs)";
    std::set<int> pages;
    const std::string runs = lines[0].at(2) + ",";
    for (std::size_t start = 0, comma; (comma = runs.find(',', start)) != std::string::npos; start = comma + 1) {
        const std::string run = runs.substr(start, comma - start);
        const std::size_t dash = run.find('-');
        const int a = std::stoi(run), b = dash == std::string::npos ? a : std::stoi(run.substr(dash + 1));
        for (int p = std::min(a, b); p <= std::max(a, b); ++p) pages.insert(p);
    }
    return JoinPages(pages);
}

}  // namespace tessera::test
