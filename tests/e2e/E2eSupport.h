#pragma once
// Running the real tessera program and independent PDF tools from tests.
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "support/Files.h"
#include "support/PdfProbe.h"
#include "support/RunCommand.h"

// Tests that compare many runs with each other (workers against a run in
// order, every route against every other) run in the optimized build only:
// under the sanitizers they took a quarter of the test time, and each of
// their runs is one that other tests already make there.
#if defined(__SANITIZE_ADDRESS__)
#define TESSERA_COMPARED_IN_THE_PLAIN_BUILD() GTEST_SKIP() << "compared in the optimized build"
#else
#define TESSERA_COMPARED_IN_THE_PLAIN_BUILD() static_cast<void>(0)
#endif
#include "support/TempFolder.h"

namespace tessera::test {

namespace fs = std::filesystem;

// tessera with its settings kept in `config` (never the user's own).
CommandResult Tessera(const TempFolder& config, const std::string& arguments);
// A split into folder, quiet, with outputs named Doc1.pdf, Doc2.pdf...
CommandResult Split(const TempFolder& config, const std::string& folder, const std::string& arguments);
// Validates every JSON line of `text` against the schema in doc/; the
// validator's complaints, empty when all are valid.
std::string SchemaComplaints(const std::string& text);
// A file of tests/data: its path, and that path quoted for the shell.
std::string DataFile(const std::string& name);
std::string Data(const std::string& name);
nlohmann::json QpdfJson(const std::string& file, const std::string& keys);
// The dry-run lines of the outputs split into their tab-separated fields.
std::vector<std::vector<std::string>> PlanLines(const std::string& output);

// The pages of a one-output dry run, one by one ("4-6,9" gives "4,5,6,9");
// empty for no output, "(N outputs)" for more than one.
std::string PlannedPages(const CommandResult& r);
std::string JoinPages(const std::set<int>& pages);
// The 1-based pages of a plan's runs ("3-1,5" gives 3,2,1,5), in order.
std::vector<int> RunPages(const std::string& runs);

// A PDF without its document ID, which is made anew for each file written.
std::string WithoutId(const std::string& pdf);
// Every file and folder below folder by relative name, the files' bytes without ID.
std::map<std::string, std::string> FilesWithoutId(const std::string& folder);

// A split into a folder of its own, in order (--jobs 1) or in worker processes.
struct JobsRun {
    CommandResult result;
    TempFolder out;
};
void SplitWithJobs(JobsRun& run, const TempFolder& config, const std::string& arguments, int jobs);
// The same status, report, files and bytes (but for document IDs).
void ExpectSameRuns(const JobsRun& one, const JobsRun& two);

}  // namespace tessera::test
