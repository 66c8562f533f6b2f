// What scripts and job runners read: the JSON plan and report, exit
// statuses, JSON progress, repeatable files, and sharded batches.
#include <fstream>
#include <sstream>

#include "e2e/E2eSupport.h"

namespace tessera::test {
namespace {

std::string Sha256Of(const std::string& path) {
    return RunCommand("sha256sum " + ShellQuote(path) + " | cut -c1-64").output.substr(0, 64);
}

}  // namespace

TEST(MachineReadableTest, PlanAndReportAreValidJsonWhoseFilesAndDigestsAreOnDisk) {
    TempFolder config, out;
    const std::string input = Data("mnras-guide-2col-rotated-page.pdf");
    const CommandResult plan = Split(config, out.Path(), "--equal 3 --watermark Draft --dry-run --json " + input);
    ASSERT_EQ(plan.status, 0);
    EXPECT_EQ(SchemaComplaints(plan.output), "");
    const nlohmann::json planned = nlohmann::json::parse(plan.output);
    EXPECT_EQ(planned["input"]["pages"], 10);
    EXPECT_EQ(planned["input"]["sha256"], Sha256Of(DataFile("mnras-guide-2col-rotated-page.pdf")));
    ASSERT_EQ(planned["outputs"].size(), 4u);
    EXPECT_EQ(planned["outputs"][3]["pages"], nlohmann::json::parse("[[10, 10]]"));
    EXPECT_EQ(planned["outputs"][3]["watermark"], "Draft");
    EXPECT_TRUE(FilesBelow(out.Path()).empty()) << "a dry run writes nothing";

    // A folder in the way of the third output: the run stops there, partly done.
    fs::create_directories(out / "Doc3.pdf");
    const CommandResult run = Split(config, out.Path(), "--equal 3 --json --jobs 2 " + input + " 2>/dev/null");
    EXPECT_EQ(run.status, 4);
    EXPECT_EQ(SchemaComplaints(run.output), "");
    const nlohmann::json report = nlohmann::json::parse(run.output);
    EXPECT_EQ(report["outcome"], "partly-done");
    std::vector<std::string> statuses;
    for (const nlohmann::json& output : report["outputs"]) {
        statuses.push_back(output["status"]);
        const std::string path = output["path"];
        EXPECT_EQ(fs::is_regular_file(path), output["status"] == "written") << path;
        EXPECT_TRUE(output["status"] != "written" || output["sha256"] == Sha256Of(path)) << path;
    }
    EXPECT_EQ(statuses, (std::vector<std::string>{"written", "written", "failed", "not-reached"}));
    EXPECT_NE(report["outputs"][2]["reason"].get<std::string>().find("Is a directory"), std::string::npos);

    // The report says which output a code named and which page was let past the size limit.
    const auto outputs = [&](const std::string& options, const std::string& pdf) {
        TempFolder folder;
        const CommandResult r = Split(config, folder.Path(), options + " --json " + Data(pdf) + " 2>/dev/null");
        EXPECT_EQ(SchemaComplaints(r.output), "") << options;
        return nlohmann::json::parse(r.output, nullptr, false).value("outputs", nlohmann::json::array());
    };
    const nlohmann::json coded = outputs("--separator code", "code-sheet-qr-and-code128.pdf");
    ASSERT_EQ(coded.size(), 2u);
    EXPECT_EQ(coded[1].value("key", ""), "https://example.com/track?id=77");
    const nlohmann::json codePlan = outputs("--separator code --dry-run", "code-sheet-qr-and-code128.pdf");
    EXPECT_EQ(codePlan.size() == 2 ? codePlan[1].value("key", "") : "", "https://example.com/track?id=77")
        << "the plan's too";
    for (const nlohmann::json& output : outputs("--max-size 30KB --allow-oversize", "multicolumn-latex-2col.pdf"))
        EXPECT_EQ(output.value("oversize", false), output.value("bytes", 0) > 30000) << output;
}

TEST(MachineReadableTest, WarningsEndInThreeUnlessAskedAndRepeatableRunsWriteTheSameBytes) {
    TempFolder config, one, two;
    const std::string damaged = Data("damaged-xref-outlines-labels-recoverable.pdf");
    const CommandResult repaired = Split(config, one.Path(), "--equal 10 --json " + damaged + " 2>/dev/null");
    EXPECT_EQ(repaired.status, 3);
    EXPECT_EQ(nlohmann::json::parse(repaired.output)["warnings"].size(), 1u) << repaired.output;
    // Said once, in a sentence.
    const CommandResult told = Split(config, one.Path(), "--equal 10 --warning-exit-0 " + damaged + " 2>&1");
    EXPECT_EQ(told.status, 0);
    EXPECT_EQ(told.output, "tessera: The input is damaged: it was repaired as it was read.\n");

    const std::string options =
        "--bookmarks 1 --prefix date --html-index --update-links --transfer-bookmarks "
        "--warning-exit-0 " +
        Data("hyperref-manual-outline-gotor-launch-named.pdf");
    for (const TempFolder* folder : {&one, &two}) {
        fs::remove_all(folder->Path());
        fs::create_directories(folder->Path());
        ASSERT_EQ(Split(config, folder->Path(), "--deterministic " + options).status, 0);
    }
    const auto files = FilesBelow(one.Path());
    EXPECT_GT(files.size(), 5u);
    EXPECT_EQ(files, FilesBelow(two.Path()));
    for (const std::string& file : files) EXPECT_EQ(ReadFile(one / file), ReadFile(two / file)) << file;
    EXPECT_EQ(RunCommand("SOURCE_DATE_EPOCH=86400 " + ShellQuote(TESSERA_EXE) +
                         " split --reset --dry-run "
                         "--prefix date --equal 50 " +
                         Data("multicolumn-latex-2col.pdf") + " | cut -f2")
                  .output,
              "Jan-2-1970Doc1.pdf\n");
    const CommandResult encrypted = Split(config, one.Path(), "--deterministic --deny print " + options + " 2>&1");
    EXPECT_EQ(encrypted.status, 1);
    EXPECT_NE(encrypted.output.find("cannot be encrypted"), std::string::npos) << encrypted.output;
}

TEST(MachineReadableTest, JsonProgressIsOneObjectALineWhosePagesNeverGoDown) {
    TempFolder config, out;
    // Links are rewritten inside the writing of each output: an operation
    // within the run's, whose steps are no pages of the run.
    const CommandResult run = Split(
        config, out.Path(),
        "--equal 1 --update-links --jobs 1 --progress json " + Data("ctex-manual-chinese.pdf") + " 2>&1 >/dev/null");
    ASSERT_EQ(run.status, 0);
    std::istringstream lines(run.output);
    int last = -1, count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        const nlohmann::json progress = nlohmann::json::parse(line, nullptr, false);
        ASSERT_FALSE(progress.is_discarded()) << line;
        EXPECT_GE(progress["page"].get<int>(), last) << line;
        last = progress["page"];
    }
    EXPECT_GT(count, 0);
    EXPECT_EQ(last, 175) << "the last line says the whole run";
}

// Three shards over one folder, each run by GNU Parallel as a job runner
// would, write what one batch writes; a shard stopped half-way and run
// again with --skip-done leaves every output once and no temporary file.
TEST(ComparedRunsTest, ShardsOfABatchWriteWhatOneBatchWritesAndARetrySkipsWhatWasDone) {
    TESSERA_COMPARED_IN_THE_PLAIN_BUILD();
    TempFolder config, work;
    fs::create_directories(work / "in");
    for (int i = 1; i <= 30; ++i)
        ASSERT_EQ(
            RunCommand("qpdf --empty --pages " + Data("mnras-guide-2col-rotated-page.pdf") + " " +
                       std::to_string(i % 5 + 1) + "-z -- " + ShellQuote(work / ("in/f" + std::to_string(i) + ".pdf")))
                .status,
            0);
    const auto profile = [&](const std::string& folder) {
        const std::string path = work / (folder + ".tpr");
        Tessera(config, "split --reset --equal 2 --prefix name -o " + ShellQuote(work / folder) + " --save-profile " +
                            ShellQuote(path) + " " + Data("multicolumn-latex-2col.pdf") + " 2>/dev/null");
        return path;
    };
    const std::string one = profile("one"), shards = profile("shards");
    const std::string batch = ShellQuote(TESSERA_EXE) + " batch --deterministic --quiet ";
    ASSERT_EQ(RunCommand(batch + "--profile " + ShellQuote(one) + " --folder " + ShellQuote(work / "in")).status, 0);
    const std::string list = work / "list";
    RunCommand("cd " + ShellQuote(work / "in") + " && find \"$PWD\" -name '*.pdf' -print0 > " + ShellQuote(list));
    // Killed once some files are done, then run again by the "runner".
    const std::string shard = batch + "--skip-done --json -0 --files-from " + ShellQuote(list) + " --profile " +
                              ShellQuote(shards) + " --shard {}/3";
    // Shard 2 is stopped by its own process id, and must have been running then.
    const auto started = [&](int n) {
        std::string command = shard;
        command.replace(command.find("{}"), 2, std::to_string(n));
        return command + " > " + ShellQuote(work / ("s" + std::to_string(n) + ".jsonl")) + " & ";
    };
    const CommandResult stopped = RunCommand(started(1) + started(2) + "p=$!; " + started(3) + "until [ \"$(ls " +
                                             ShellQuote(work / "shards/.tessera-done") +
                                             " 2>/dev/null | wc -l)\" -ge 4 ]; do sleep 0.01; done; "
                                             "kill -TERM $p && echo stopped; wait");
    EXPECT_EQ(stopped.output, "stopped\n") << "shard 2 had finished before it could be stopped";
    const CommandResult again =
        RunCommand("parallel --will-cite -j3 " + ShellQuote(shard + " >> " + (work / "s{}.jsonl")) + " ::: 1 2 3");
    EXPECT_EQ(again.status, 0);
    auto sharded = FilesWithoutId(work / "shards");
    const std::size_t records =
        std::erase_if(sharded, [](const auto& file) { return file.first.starts_with(".tessera-done"); });
    EXPECT_EQ(records, 31u) << "a record for each file, and their folder";
    const auto single = FilesWithoutId(work / "one");
    const auto names = [](const auto& files) {
        std::vector<std::string> list;
        for (const auto& file : files) list.push_back(file.first);
        return list;
    };
    EXPECT_EQ(names(single), names(sharded)) << "no file twice, none missing, no temporary file";
    EXPECT_TRUE(single == sharded) << "the same bytes";
    std::string lines = RunCommand("cat " + ShellQuote(work.Path()) + "/s*.jsonl").output;
    EXPECT_EQ(SchemaComplaints(lines), "");
    EXPECT_NE(lines.find("\"done-before\""), std::string::npos) << "the retry skipped files done before";

    // A record whose output is gone or changed (its size kept), or which is
    // damaged, does not count; bad shares are refused.
    const auto pdfs = FilesBelow(work / "shards");
    const std::string gone =
        *std::find_if(pdfs.begin(), pdfs.end(), [](const std::string& f) { return f.ends_with(".pdf"); });
    // The next input's output: the damaged record below is the last input's.
    const std::string changed = *std::find_if(pdfs.begin(), pdfs.end(), [&](const std::string& f) {
        return f.ends_with(".pdf") && f.substr(0, f.find("Doc")) != gone.substr(0, gone.find("Doc"));
    });
    fs::remove(work / ("shards/" + gone));
    std::string bytes = ReadFile(work / ("shards/" + changed));
    bytes[bytes.size() / 2] ^= 1;
    std::ofstream(work / ("shards/" + changed), std::ios::binary) << bytes;
    const auto recordNames = FilesBelow(work / "shards/.tessera-done");
    std::ofstream(work / ("shards/.tessera-done/" + recordNames.back())) << "{\"input\": 1}";
    const std::string all =
        batch + "--skip-done --json --folder " + ShellQuote(work / "in") + " --profile " + ShellQuote(shards);
    const std::string redo = RunCommand(all + " | tail -1").output;
    EXPECT_NE(redo.find("\"done_before\":27"), std::string::npos) << redo;
    EXPECT_TRUE(fs::exists(work / ("shards/" + gone)));
    EXPECT_EQ(RunCommand(all + " --shard 1/-1 2>/dev/null").status, 2);
    EXPECT_EQ(
        RunCommand(batch + ShellQuote(work / "seq.json") + " --files-from " + ShellQuote(list) + " 2>/dev/null").status,
        2);
}

}  // namespace tessera::test

// A file name that is not UTF-8 reads as U+FFFD in JSON's text: its exact
// bytes come beside it, so that two such names stay two and each can be
// opened. Names given for outputs must be UTF-8.
TEST(MachineReadableTest, PathsThatAreNotUtf8CarryTheirExactBytes) {
    TempFolder config, work;
    const std::string input = work / "a\xff.pdf";
    fs::copy_file(DataFile("multicolumn-latex-2col.pdf"), input);
    const std::string split = "split --reset --quiet --prefix name -o " + ShellQuote(work.Path()) + " --dry-run ";
    const CommandResult plan = Tessera(config, split + "--json --equal 2 " + ShellQuote(input));
    EXPECT_EQ(SchemaComplaints(plan.output), "");
    const nlohmann::json json = nlohmann::json::parse(plan.output);
    const auto bytes = [](const nlohmann::json& value) {
        return RunCommand("printf %s " + ShellQuote(value.get<std::string>()) + " | base64 -d").output;
    };
    EXPECT_EQ(bytes(json["input"]["path_bytes"]) + bytes(json["outputs"][0]["file_bytes"]), input +
                                                                                                "a\xff"
                                                                                                "Doc1.pdf");
    std::ofstream(work / "names.txt") << "ok\nbad\xfe\n";
    const CommandResult names = Tessera(
        config, split + "--equal 2 --names " + ShellQuote(work / "names.txt") + " " + ShellQuote(input) + " 2>&1");
    EXPECT_NE(names.output.find("line 2: a name is UTF-8 text"), std::string::npos) << names.output;
}
