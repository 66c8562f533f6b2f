#pragma once
// The command line as a front end of the plug-in's dialogs: the plug-in
// declares the fields its split dialog takes, the host parses them from its
// command line and hands them back when the dialog runs.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tessera::host {

enum class OptionKind {
    Switch,           // --name turns a field on, --no-name off
    PositiveInteger,  // a whole number from 1 up
    Levels,           // A or A-B, whole numbers from 1 up
    Choice,           // one of `words`
    WordList,         // comma-separated words of `words`
    Text,             // any text
    Folder,           // a folder path
};

struct OptionSpec {
    std::string name;   // without the leading "--"
    std::string alias;  // a one-letter short form, or empty
    OptionKind kind = OptionKind::Text;
    std::vector<std::string> words;
    std::string help;
    std::string group;
    std::string valueName;  // how --help shows the value; empty: from the kind
    std::string initial;    // the value a run starts from, as the option writes it; empty: none to show
    // For a value of free text: whole values and beginnings of them that the
    // shells offer to complete ("change=area:", "sheet=yellow").
    std::vector<std::string> offered;
};

struct OptionValue {
    std::string name;
    std::string value;  // "1"/"0" for switches
};

// One line of a dry run: the output's file name and its 1-based pages in order.
struct PlannedOutput {
    std::string file;
    std::vector<int> pages;
    std::string key;            // the value a split where it changes found; empty for other splits
    std::string path;           // the file's path: the output folder and the file name
    std::string nameSource;     // what the name was made from (see README: "names")
    std::string watermark;      // the text stamped on its pages; empty for none
    int keyOcrConfidence = -1;  // the least confidence (0 to 100) of the key's words read by OCR; -1: not by OCR
};

enum class OutputStatus { Written, NoPages, Failed, NotReached };

// One planned output after a run: where it went and how.
struct ReportedOutput {
    std::string path;
    std::vector<int> pages;  // 1-based, in output order
    OutputStatus status = OutputStatus::NotReached;
    std::string key;              // as PlannedOutput's
    std::uint64_t sizeLimit = 0;  // the most bytes the run let an output have; 0: no limit
    int keyOcrConfidence = -1;    // as PlannedOutput's
};

// A page no output holds on purpose: "blank", "separator" or "sheet-back",
// what made it one ("blank", "scan", "code", "sheet", "back") and the value
// found (the code, the colour's share), empty where there is none.
struct DroppedPageEntry {
    int page = 0;  // 1-based
    std::string reason;
    std::string kind;
    std::string value;
};

// Pages a hand-made range asks for that the document does not have.
struct PagesBeyondDocument {
    int output = 0;           // 1-based
    int first = 0, last = 0;  // 1-based
};

// Where every page of the input went. The pages in outputs, the dropped ones
// and those in no output make up the input's pages, each counted once.
struct PageAccount {
    int pages = 0;
    std::vector<int> inOutputs;  // 1-based, ascending
    std::vector<DroppedPageEntry> dropped;
    std::vector<int> inNoOutput;    // 1-based, ascending: no output selected them
    std::vector<int> emptyOutputs;  // 1-based numbers of planned outputs without a page
    std::vector<PagesBeyondDocument> beyondDocument;
};

enum class RunOutcome { Done, Cancelled, Refused, Failed, UsageError };

class CommandLineServices {
public:
    virtual ~CommandLineServices() = default;
    // Called while the plug-in initialises; `footer` explains the values in more words.
    virtual void DeclareSplitOptions(const std::vector<OptionSpec>& options, const std::string& footer) = 0;
    // The texts of the plug-in's language files whose keys start "HOST_", for
    // the host to show its own options and commands in the user's language.
    virtual void DeclareHostTexts(const std::vector<std::pair<std::string, std::string>>& /*texts*/) {}
    // The declared options the user gave, in command-line order.
    virtual std::vector<OptionValue> SplitOptions() = 0;
    // A run is repeatable: it starts from the initial settings and leaves the
    // stored ones alone, unless the user asks to read them before the options
    // and to store them after a successful run.
    virtual bool ReadStoredSettings() = 0;
    virtual bool StoreSettings() = 0;
    // Plan and name only, then hand the plan to ReportPlan.
    virtual bool DryRun() = 0;
    virtual void ReportPlan(const std::vector<PlannedOutput>& outputs) = 0;
    // After a run that reached its outputs, before its outcome: each planned
    // output, and the HTML index's path when one was written.
    virtual void ReportRun(const std::vector<ReportedOutput>& /*outputs*/, const std::string& /*index*/) {}
    // Where the input's pages go, before ReportPlan or ReportRun.
    virtual void ReportAccount(const PageAccount& /*account*/) {}
    // Seconds since 1970 that stand for "now" in names and dates; none: the clock.
    virtual std::optional<std::int64_t> FixedTime() { return std::nullopt; }
    // Outputs must be the same file run after run: IDs from the content, no encryption.
    virtual bool Deterministic() { return false; }
    // How the last command ended; a usage error carries what was wrong.
    virtual void ReportOutcome(RunOutcome outcome, const std::string& message = "") = 0;
    // The dialogs show in windows on the desktop instead of reading options.
    virtual bool ShowsWindows() { return false; }
    // With windows: the settings dialog is drawn into this PNG file as it
    // opens, and nothing runs; empty for a normal run.
    virtual std::string ScreenshotPath() { return {}; }
};

}  // namespace tessera::host
