#include "e2e/E2eSupport.h"

#include "support/ScopedEnvironment.h"

#include <fstream>
#include <regex>
#include <sstream>

namespace tessera::test {

namespace {

// Every page account a run prints as JSON adds up to the input's pages,
// whichever test ran it.
void ExpectAccountsAddUp(const std::string& output) {
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] != '{') continue;
        const nlohmann::json value = nlohmann::json::parse(line, nullptr, false);
        if (!value.is_object() || !value.contains("account")) continue;
        const nlohmann::json& a = value["account"];
        EXPECT_EQ(a["in_outputs"]["count"].get<int>() + a["dropped"]["count"].get<int>() +
                      a["in_no_output"]["count"].get<int>(),
                  a["pages"].get<int>())
            << line;
        if (value.contains("input") && value["input"].is_object()) {
            EXPECT_EQ(a["pages"], value["input"]["pages"]) << line;
        }
    }
}

}  // namespace

CommandResult Tessera(const TempFolder& config, const std::string& arguments) {
    CommandResult result =
        RunCommand("XDG_CONFIG_HOME=" + ShellQuote(config.Path()) + " HOME=" + ShellQuote(config.Path()) + " " +
                   ShellQuote(TESSERA_EXE) + " " + arguments);
    ExpectAccountsAddUp(result.output);
    return result;
}

CommandResult Split(const TempFolder& config, const std::string& folder, const std::string& arguments) {
    return Tessera(config, "split --reset --quiet --prefix none -o " + ShellQuote(folder) + " " + arguments);
}

std::string SchemaComplaints(const std::string& text) {
    const TempFolder folder;
    std::ofstream(folder / "lines.json") << text;
    return RunCommand(
               "python3 -c 'import json, sys, jsonschema\n"
               "schema = json.load(open(sys.argv[1]))\n"
               "for line in open(sys.argv[2]):\n"
               "    jsonschema.validate(json.loads(line), schema)' " +
               ShellQuote(std::string(TESSERA_SOURCE_DIR) + "/doc/tessera-run.schema.json") + " " +
               ShellQuote(folder / "lines.json") + " 2>&1")
        .output;
}

std::string DataFile(const std::string& name) { return std::string(TESSERA_TEST_DATA) + "/" + name; }
std::string Data(const std::string& name) { return ShellQuote(DataFile(name)); }

nlohmann::json QpdfJson(const std::string& file, const std::string& keys) {
    return nlohmann::json::parse(RunCommand("qpdf --json " + keys + " " + file + " 2>/dev/null").output);
}

std::vector<std::vector<std::string>> PlanLines(const std::string& output) {
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        // The page account's lines start with a word.
        if (line.empty() || line[0] < '0' || line[0] > '9') continue;
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            fields.push_back(line.substr(start, tab - start));
        fields.push_back(line.substr(start));
        lines.push_back(fields);
    }
    return lines;
}

std::vector<int> RunPages(const std::string& runs) {
    std::vector<int> pages;
    std::istringstream in(runs);
    for (std::string run; std::getline(in, run, ',');) {
        const std::size_t dash = run.find('-');
        const int a = std::stoi(run), b = dash == std::string::npos ? a : std::stoi(run.substr(dash + 1));
        for (int p = a; a <= b ? p <= b : p >= b; p += a <= b ? 1 : -1) pages.push_back(p);
    }
    return pages;
}

std::string JoinPages(const std::set<int>& pages) {
    std::string out;
    for (int p : pages) out += (out.empty() ? "" : ",") + std::to_string(p);
    return out;
}

std::string PlannedPages(const CommandResult& r) {
    const auto lines = PlanLines(r.output);
    if (lines.size() != 1) return lines.empty() ? "" : "(" + std::to_string(lines.size()) + " outputs)";
    const std::vector<int> pages = RunPages(lines[0].at(2));
    return JoinPages({pages.begin(), pages.end()});
}

std::string WithoutId(const std::string& pdf) {
    static const std::regex id(R"(/ID \[ ?<[0-9a-f]*> ?<[0-9a-f]*> ?\])");
    return std::regex_replace(pdf, id, "");
}

std::map<std::string, std::string> FilesWithoutId(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = fs::relative(entry.path(), folder).string();
        files[name] = entry.is_regular_file() ? WithoutId(ReadFile(entry.path())) : "(folder)";
    }
    return files;
}

void SplitWithJobs(JobsRun& run, const TempFolder& config, const std::string& arguments, int jobs) {
    // Each output's metadata holds the time of its run and ids of its own:
    // both are fixed here, so that two runs can be compared byte for byte.
    ScopedEnvironment fixed;
    fixed.Set("SOURCE_DATE_EPOCH", "86400");
    fixed.Set("TESSERA_STATIC_ID", "1");
    run.result = Tessera(config, "split --reset --prefix none -o " + ShellQuote(run.out.Path()) + " --jobs " +
                                     std::to_string(jobs) + " " + arguments + " 2>&1");
}

void ExpectSameRuns(const JobsRun& one, const JobsRun& two) {
    EXPECT_EQ(two.result.status, one.result.status);
    // The report names the output folder, which differs.
    EXPECT_EQ(std::regex_replace(two.result.output, std::regex(two.out.Path()), "OUT"),
              std::regex_replace(one.result.output, std::regex(one.out.Path()), "OUT"));
    const auto inOrder = FilesWithoutId(one.out.Path()), spread = FilesWithoutId(two.out.Path());
    EXPECT_EQ(spread.size(), inOrder.size());
    for (const auto& [name, bytes] : inOrder) {
        const auto it = spread.find(name);
        EXPECT_TRUE(it != spread.end() && it->second == bytes) << name << " is missing or differs beyond its ID";
    }
}

}  // namespace tessera::test
