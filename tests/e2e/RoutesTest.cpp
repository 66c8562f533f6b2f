// One answer whichever way a split is asked for: its options, a profile saved
// from them, a batch over that profile, the dry run's lines and JSON's plan.
// The window's route is in the window tests, over the same cases.
#include <sstream>

#include "e2e/E2eSupport.h"
#include "support/RouteCases.h"

namespace tessera::test {
namespace {

// "1-2,5,9-7" from [[1,2],[5,5],[9,7]], as the dry run writes pages.
std::string Runs(const nlohmann::json& pages) {
    std::string text;
    for (const nlohmann::json& run : pages) {
        const int first = run[0], last = run[1];
        text += (text.empty() ? "" : ",") + std::to_string(first) + (first == last ? "" : "-" + std::to_string(last));
    }
    return text;
}

// Each output's file name, pages and key, a line each.
std::string Outputs(const nlohmann::json& outputs) {
    std::string text;
    for (const nlohmann::json& o : outputs)
        text += (o.contains("file") ? o["file"].get<std::string>()
                                    : fs::path(o["path"].get<std::string>()).filename().string()) +
                "\t" + Runs(o["pages"]) + "\t" + o.value("key", "") + "\n";
    return text;
}

std::string OutputsOfLines(const std::string& dryRun) {
    std::string text;
    for (const std::vector<std::string>& fields : PlanLines(dryRun))
        text += fields.at(1) + "\t" + fields.at(2) + "\t" + (fields.size() > 3 ? fields[3] : "") + "\n";
    return text;
}

// The first JSON line of a run's output: a plan, a report or a batch's file line.
nlohmann::json FirstJson(const CommandResult& r) {
    std::istringstream in(r.output);
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] == '{') return nlohmann::json::parse(line);
    ADD_FAILURE() << "no JSON in " << r.output;
    return nlohmann::json::object({{"outputs", nlohmann::json::array()}});
}

std::map<std::string, std::string> FilesIn(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const std::string& name : FilesBelow(folder)) files[name] = ReadFile(folder + "/" + name);
    return files;
}

}  // namespace

TEST(RoutesTest, EverySplitGivesOneAnswerWhicheverRouteAsksForIt) {
    TESSERA_COMPARED_IN_THE_PLAIN_BUILD();
    for (const RouteCase& c : RouteCases()) {
        SCOPED_TRACE(c.name);
        TempFolder config, direct, profiled, batched;
        const std::string input = " " + Data(c.input), options = " --prefix none " + c.options;
        const CommandResult plan = Tessera(config, "split --reset --dry-run --deterministic --json" + options + input);
        const CommandResult lines =
            Tessera(config, "split --reset --dry-run --deterministic" + options + input + " 2>/dev/null");
        const CommandResult split = Tessera(
            config, "split --reset --quiet --json --deterministic -o " + ShellQuote(direct.Path()) + options + input);
        const std::string profile = ShellQuote(config / "case.tpr");
        ASSERT_EQ(Tessera(config, "split --reset --save-profile " + profile + " -o " + ShellQuote(batched.Path()) +
                                      options + input + " 2>&1")
                      .status,
                  0);
        const CommandResult fromProfile = Tessera(config, "split --quiet --json --deterministic --profile " + profile +
                                                              " -o " + ShellQuote(profiled.Path()) + input);
        const CommandResult batch =
            Tessera(config, "batch --quiet --json --deterministic --profile " + profile + " --file" + input);

        const nlohmann::json planned = FirstJson(plan);
        const std::string expected = Outputs(planned["outputs"]);
        EXPECT_NE(expected, "");
        EXPECT_EQ(OutputsOfLines(lines.output), expected) << "the dry run's lines";
        for (const auto& [route, result] : {std::pair{"split", &split}, {"profile", &fromProfile}, {"batch", &batch}}) {
            const nlohmann::json ran = FirstJson(*result);
            EXPECT_EQ(Outputs(ran["outputs"]), expected) << route;
            EXPECT_EQ(ran["account"], planned["account"]) << route;
        }
        for (const CommandResult* result : {&lines, &split, &fromProfile}) EXPECT_EQ(result->status, plan.status);
        EXPECT_EQ(batch.status, plan.status) << "a batch warns as the split of its one file does";
        // Run-wide flags reach a batch's files as they reach a split: the same bytes.
        const auto written = FilesIn(direct.Path());
        EXPECT_EQ(FilesIn(profiled.Path()), written);
        EXPECT_EQ(FilesIn(batched.Path()), written);
        EXPECT_EQ(SchemaComplaints(plan.output + split.output + batch.output), "");
    }
}

}  // namespace tessera::test
