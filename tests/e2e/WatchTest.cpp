// The watched folder as a service meets it: files written slowly, kill -9
// and restarts, two watchers of one folder, a file replaced under a split, a
// disk that fills, and settings that would make two inputs' outputs collide.
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <limits>
#include <thread>

using namespace tessera::test;
using namespace std::chrono_literals;

namespace {

std::vector<nlohmann::json> Events(const std::string& log) {
    std::vector<nlohmann::json> events;
    std::ifstream in(log);
    for (std::string line; std::getline(in, line);)
        if (const nlohmann::json event = nlohmann::json::parse(line, nullptr, false); event.is_object())
            events.push_back(event);
    return events;
}

int Count(const std::vector<nlohmann::json>& events, const std::string& kind, const std::string& file = "") {
    int n = 0;
    for (const nlohmann::json& event : events)
        n += event.value("event", "") == kind && (file.empty() || event.value("file", "") == file);
    return n;
}

// Every file below folder (hidden state folders left out) by name.
std::set<std::string> NamesBelow(const std::string& folder, bool withState = false) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) {
            const std::string name = fs::relative(entry.path(), folder).string();
            if (withState || name.find(".tessera-") == std::string::npos) names.insert(name);
        }
    return names;
}

}  // namespace

class WatchTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* dir : {"in", "out"}) fs::create_directories(folder / dir);
        EXPECT_EQ(Tessera(config, "split " + Data("multicolumn-latex-2col.pdf") +
                                      " --equal 1 --prefix name --save-profile " + ShellQuote(Profile()))
                      .status,
                  0);
    }
    void TearDown() override {
        for (const pid_t pid : started_) ::kill(pid, SIGKILL);
    }
    std::string Profile() const { return folder / "p.tpr"; }
    // A watcher in the background, its events appended to `log`, its exit status to `log`.status.
    pid_t Start(const std::string& options, const std::string& log = "log") {
        const std::string watch = ShellQuote(TESSERA_EXE) + " watch " + ShellQuote(folder / "in") + " --profile " +
                                  ShellQuote(Profile()) + " -o " + ShellQuote(folder / "out") +
                                  " --settle 0.3 --poll 0.5 " + options + " --log " + ShellQuote(folder / log);
        const std::string pidFile = folder / (log + ".pid"), status = folder / (log + ".status");
        // A restart must not read the pid of the watcher before it.
        fs::remove(pidFile);
        fs::remove(status);
        RunCommand("(" + watch + " 2>/dev/null & echo $! > " + ShellQuote(pidFile) + "; wait $!; echo $? > " +
                   ShellQuote(status) + ") >/dev/null 2>&1 &");
        pid_t pid = 0;
        WaitFor([&] {
            std::ifstream in(pidFile);
            return static_cast<bool>(in >> pid) && pid > 1;
        });
        // Never 0 or -1: a kill of those would reach the test's own process group.
        if (pid <= 1) ADD_FAILURE() << "the watcher did not start";
        if (pid > 1) started_.push_back(pid);
        return pid > 1 ? pid : std::numeric_limits<pid_t>::max();
    }
    // Waits (up to a minute: the sanitizers' build is slow) until `done` holds.
    template <typename Done>
    bool WaitFor(Done done) {
        for (auto end = std::chrono::steady_clock::now() + 60s; std::chrono::steady_clock::now() < end;
             std::this_thread::sleep_for(50ms))
            if (done()) return true;
        return false;
    }
    // Stops a watcher as systemd would; its exit status.
    int Stop(pid_t pid, const std::string& log = "log") {
        ::kill(pid, SIGTERM);
        const std::string status = folder / (log + ".status");
        WaitFor([&] { return fs::exists(status) && fs::file_size(status) > 0; });
        std::ifstream in(status);
        int code = -1;
        in >> code;
        return code;
    }
    void Drop(const std::string& data, const std::string& name) {
        fs::copy_file(DataFile(data), folder / ("stage-" + name));
        fs::rename(folder / ("stage-" + name), folder / ("in/" + name));
    }
    TempFolder config, folder;
    std::vector<pid_t> started_;
};

TEST_F(WatchTest, AFileWrittenSlowlyIsTakenOnceWholeAndFailuresGoAsideWithTheirReason) {
    const pid_t watcher = Start("--done " + ShellQuote(folder / "done") + " --failed " + ShellQuote(folder / "failed"));
    const std::string bytes = ReadFile(DataFile("mnras-guide-2col-rotated-page.pdf"));
    {
        // Pauses longer than the settle time, the file open all along: only the closed file is taken.
        std::ofstream slow(folder / "in/slow.pdf", std::ios::binary);
        for (std::size_t at = 0; at < bytes.size(); at += bytes.size() / 4 + 1) {
            slow.write(bytes.data() + at,
                       static_cast<std::streamsize>(std::min(bytes.size() - at, bytes.size() / 4 + 1)));
            slow.flush();
            std::this_thread::sleep_for(600ms);
        }
    }
    Drop("broken-header-only-unrecoverable.pdf", "broken.pdf");
    Drop("multicolumn-latex-2col.pdf", "caf\xe9.pdf");  // a name that is no UTF-8, as old scanners write them
    ASSERT_TRUE(
        WaitFor([&] { return Count(Events(folder / "log"), "failed") + Count(Events(folder / "log"), "split") == 3; }));
    EXPECT_EQ(Stop(watcher), 0);
    const std::vector<nlohmann::json> events = Events(folder / "log");
    EXPECT_EQ(Count(events, "taken", folder / "in/slow.pdf"), 1);
    EXPECT_EQ(Count(events, "split", folder / "in/slow.pdf"), 1);
    EXPECT_EQ(Count(events, "stopped"), 1);
    // Whole: each of its 10 pages is an output (and 3 of the other).
    EXPECT_EQ(NamesBelow(folder / "out").size(), 13u);
    EXPECT_EQ(NamesBelow(folder / "done"), (std::set<std::string>{"caf\xe9.pdf", "slow.pdf"}));
    EXPECT_TRUE(fs::exists(folder / ("out/caf\xe9"
                                     "Doc3.pdf")));
    EXPECT_EQ(NamesBelow(folder / "failed"), (std::set<std::string>{"broken.pdf", "broken.pdf.error.json"}));
    std::ifstream note(folder / "failed/broken.pdf.error.json");
    EXPECT_NE(nlohmann::json::parse(note).value("reason", "").find("cannot open"), std::string::npos);
    EXPECT_TRUE(NamesBelow(folder / "in", true).empty());
}

TEST_F(WatchTest, KillNineAtAnyMomentThenARestartGivesTheOutputsOfAnUndisturbedRun) {
    constexpr int kFiles = 16;
    for (int i = 0; i < kFiles; ++i) Drop("multicolumn-latex-2col.pdf", "f" + std::to_string(i) + ".pdf");
    // Moments spread over the run: during settling, splits, moves and records.
    for (const auto moment : {700ms, 1100ms, 400ms, 1500ms, 900ms}) {
        const pid_t watcher = Start("--jobs 2 --done " + ShellQuote(folder / "done"));
        std::this_thread::sleep_for(moment);
        ::kill(watcher, SIGKILL);
        WaitFor([watcher] { return ::kill(watcher, 0) != 0; });
    }
    // The children a kill left end by themselves (their parent's death ends them).
    std::this_thread::sleep_for(500ms);
    const CommandResult rest =
        RunCommand(ShellQuote(TESSERA_EXE) + " watch " + ShellQuote(folder / "in") + " --profile " +
                   ShellQuote(Profile()) + " -o " + ShellQuote(folder / "out") + " --settle 0.3 --once --done " +
                   ShellQuote(folder / "done") + " --log " + ShellQuote(folder / "log") + " 2>/dev/null");
    EXPECT_EQ(rest.status, 0);
    std::set<std::string> expected, inputs;
    for (int i = 0; i < kFiles; ++i) {
        inputs.insert("f" + std::to_string(i) + ".pdf");
        for (int page = 1; page <= 3; ++page)
            expected.insert("f" + std::to_string(i) + "Doc" + std::to_string(page) + ".pdf");
    }
    EXPECT_EQ(NamesBelow(folder / "out"), expected);
    EXPECT_EQ(NamesBelow(folder / "done"), inputs);
    EXPECT_TRUE(NamesBelow(folder / "in", true).empty());
    // Said split once each, over all the runs.
    for (const std::string& input : inputs)
        EXPECT_EQ(Count(Events(folder / "log"), "split", folder / ("in/" + input)), 1);
    // No temporary file anywhere, and no staging folder left: beside the outputs only records and lists.
    for (const std::string& file : NamesBelow(folder / "out", true))
        EXPECT_TRUE(expected.count(file) || file.rfind(".tessera-done/", 0) == 0 ||
                    file.rfind(".tessera-watch/", 0) == 0)
            << file;
    for (const std::string& file : NamesBelow(folder / "out", true))
        EXPECT_EQ(file.find(".part"), std::string::npos) << file;
    for (const auto& entry : fs::directory_iterator(folder / "out/.tessera-watch"))
        EXPECT_FALSE(entry.is_directory()) << entry.path();
}

TEST_F(WatchTest, TwoWatchersOfOneFolderSplitEachFileOnce) {
    constexpr int kFiles = 12;
    const pid_t one = Start("", "log1"), two = Start("", "log2");
    for (int i = 0; i < kFiles; ++i) Drop("multicolumn-latex-2col.pdf", "f" + std::to_string(i) + ".pdf");
    Drop("multicolumn-latex-2col.pdf", "caf\xe9.pdf");  // no UTF-8: its record must still be found
    const auto splits = [&] {
        return Count(Events(folder / "log1"), "split") + Count(Events(folder / "log2"), "split");
    };
    ASSERT_TRUE(WaitFor([&] { return splits() >= kFiles + 1; }));
    std::this_thread::sleep_for(1s);  // time for a second split of some file, were there one
    EXPECT_EQ(Stop(one, "log1"), 0);
    EXPECT_EQ(Stop(two, "log2"), 0);
    EXPECT_EQ(splits(), kFiles + 1);
    for (int i = 0; i < kFiles; ++i) {
        const std::string file = folder / ("in/f" + std::to_string(i) + ".pdf");
        EXPECT_EQ(Count(Events(folder / "log1"), "taken", file) + Count(Events(folder / "log2"), "taken", file), 1)
            << file;
    }
    EXPECT_EQ(NamesBelow(folder / "out").size(), 3u * (kFiles + 1));
    // A file the other split is found done once, not again at every pass over the folder.
    for (const std::string log : {"log1", "log2"}) {
        std::map<std::string, int> found;
        for (const nlohmann::json& event : Events(folder / log))
            if (event.value("reason", "").rfind("done before", 0) == 0) {
                EXPECT_EQ(++found[event["file"]], 1) << event;
            }
    }
    // Both stopped at once, each said so; a third look finds every file done and none running.
    const CommandResult status =
        Tessera(config, "watch " + ShellQuote(folder / "in") + " --profile " + ShellQuote(Profile()) + " -o " +
                            ShellQuote(folder / "out") + " --status");
    EXPECT_NE(status.output.find("0 waiting, 0 running, 0 failed, 13 done"), std::string::npos) << status.output;
}

TEST_F(WatchTest, AFileReplacedWhileItIsSplitIsLeftSaidAndSplitAgainWhenItSettles) {
    // A long split (a large file, a page at a time) leaves time to replace its input under it.
    const pid_t watcher = Start("");
    Drop("ctex-manual-chinese.pdf", "doc.pdf");
    ASSERT_TRUE(WaitFor([&] { return Count(Events(folder / "log"), "taken") == 1; }));
    Drop("multicolumn-latex-2col.pdf", "doc.pdf");  // an atomic replacement, as copy tools make
    ASSERT_TRUE(WaitFor([&] { return Count(Events(folder / "log"), "split") == 1; }));
    // Stopped in the middle of a split: it ends, leaving its input and nothing half-made.
    Drop("ctex-manual-chinese.pdf", "later.pdf");
    ASSERT_TRUE(WaitFor([&] { return Count(Events(folder / "log"), "taken") == 3; }));
    EXPECT_EQ(Stop(watcher), 0);
    const std::vector<nlohmann::json> events = Events(folder / "log");
    EXPECT_EQ(Count(events, "left", folder / "in/doc.pdf"), 1);
    EXPECT_EQ(Count(events, "left", folder / "in/later.pdf"), 1);
    // Only the replacement's outputs: none of the first file's, none of the one stopped.
    EXPECT_EQ(NamesBelow(folder / "out"), (std::set<std::string>{"docDoc1.pdf", "docDoc2.pdf", "docDoc3.pdf"}));
    EXPECT_EQ(NamesBelow(folder / "in", true), (std::set<std::string>{"doc.pdf", "later.pdf"}));
}

TEST_F(WatchTest, AFullDiskAndCollidingNamesFailTheInputInPlaceWithTheReason) {
    // Files of at most 100 KiB, as on a disk that fills: the split (one large output) fails, the input stays, said
    // beside it.
    ASSERT_EQ(Tessera(config, "split " + Data("multicolumn-latex-2col.pdf") +
                                  " --equal 500 --prefix name --save-profile " + ShellQuote(Profile()) + " --yes")
                  .status,
              0);
    const CommandResult full = RunCommand("trap '' XFSZ; ulimit -f 100; " + ShellQuote(TESSERA_EXE) + " watch " +
                                          ShellQuote(folder / "in") + " -o " + ShellQuote(folder / "out") +
                                          " --profile " + ShellQuote(Profile()) + " --settle 0.2 --once 2>/dev/null");
    EXPECT_EQ(full.status, 0);  // nothing there yet
    fs::copy_file(DataFile("ctex-manual-chinese.pdf"), folder / "in/big.pdf");
    const CommandResult failed = RunCommand("trap '' XFSZ; ulimit -f 100; " + ShellQuote(TESSERA_EXE) + " watch " +
                                            ShellQuote(folder / "in") + " -o " + ShellQuote(folder / "out") +
                                            " --profile " + ShellQuote(Profile()) + " --settle 0.2 --once 2>/dev/null");
    EXPECT_EQ(failed.status, 4);
    EXPECT_TRUE(fs::exists(folder / "in/big.pdf"));
    std::ifstream note(folder / "in/big.pdf.error.json");
    ASSERT_TRUE(note) << failed.output;
    EXPECT_FALSE(nlohmann::json::parse(note).value("reason", "").empty());
    EXPECT_TRUE(NamesBelow(folder / "out").empty());
    // Not tried again until it changes.
    const CommandResult again = RunCommand(ShellQuote(TESSERA_EXE) + " watch " + ShellQuote(folder / "in") + " -o " +
                                           ShellQuote(folder / "out") + " --profile " + ShellQuote(Profile()) +
                                           " --settle 0.2 --once 2>/dev/null");
    EXPECT_EQ(again.status, 0);
    EXPECT_NE(again.output.find("failed before"), std::string::npos) << again.output;
    // Two inputs whose settings name their outputs alike: the second fails, the first's stay.
    fs::remove(folder / "in/big.pdf");
    ASSERT_EQ(Tessera(config, "split " + Data("multicolumn-latex-2col.pdf") +
                                  " --equal 1 --prefix none --save-profile " + ShellQuote(Profile()) + " --yes")
                  .status,
              0);
    Drop("multicolumn-latex-2col.pdf", "a.pdf");
    Drop("mnras-guide-2col-rotated-page.pdf", "b.pdf");
    const CommandResult collide = RunCommand(ShellQuote(TESSERA_EXE) + " watch " + ShellQuote(folder / "in") + " -o " +
                                             ShellQuote(folder / "out") + " --profile " + ShellQuote(Profile()) +
                                             " --settle 0.2 --once 2>/dev/null");
    EXPECT_EQ(collide.status, 4);
    EXPECT_NE(collide.output.find("would replace a file that is not its own"), std::string::npos) << collide.output;
    EXPECT_EQ(NamesBelow(folder / "out").size(), 3u);
}
