#include "e2e/E2eSupport.h"

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

}  // namespace tessera::test
