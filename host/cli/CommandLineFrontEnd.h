#pragma once
// The host's side of the command line as a dialog front end: it turns the
// options the plug-in declares into CLI11 options, keeps what the user gave,
// prints dry-run plans and remembers how the command ended.
#include <functional>
#include <ostream>

#include "host/CommandLineServices.h"

// CLI11 stays out of this header: its header defines validator objects that
// every file including it would construct and compile again.
namespace CLI {
class App;
}

namespace tessera::app {

class CommandLineFrontEnd : public host::CommandLineServices {
public:
    explicit CommandLineFrontEnd(std::ostream& planOut) : planOut_(planOut) {}

    void DeclareSplitOptions(const std::vector<host::OptionSpec>& options, const std::string& footer) override {
        declared_ = options;
        footer_ = footer;
    }
    std::vector<host::OptionValue> SplitOptions() override { return values_; }
    void DeclareHostTexts(const std::vector<std::pair<std::string, std::string>>& texts) override;
    bool ReadStoredSettings() override { return remembered_ && !reset_; }
    bool StoreSettings() override { return remembered_ && !dryRun_; }
    bool DryRun() override { return dryRun_; }
    void ReportAccount(const host::PageAccount& account) override { account_ = account; }
    void ReportPlan(const std::vector<host::PlannedOutput>& outputs) override;
    void ReportRun(const std::vector<host::ReportedOutput>& outputs, const std::string& index) override;
    void ReportOutcome(host::RunOutcome outcome, const std::string& message) override;
    std::optional<std::int64_t> FixedTime() override { return fixedTime_; }
    bool Deterministic() override { return deterministic_; }
    bool ShowsWindows() override { return windows_; }
    std::string ScreenshotPath() override { return screenshot_; }

    // Adds the declared options to a subcommand; values are kept in command-line order.
    void AddDeclaredOptions(CLI::App& command);
    // --remembered: read the stored settings before the options and store them after a successful run.
    void SetRemembered(bool remembered) { remembered_ = remembered; }
    // --reset: with --remembered, start from the initial settings all the same.
    void SetReset(bool reset) { reset_ = reset; }
    void SetDryRun(bool dryRun) { dryRun_ = dryRun; }
    // tessera gui, split --gui: the dialog in a window; --screenshot: only its picture.
    void SetWindows(bool windows, std::string screenshot = "") {
        windows_ = windows;
        screenshot_ = std::move(screenshot);
    }
    void SetValues(std::vector<host::OptionValue> values) { values_ = std::move(values); }
    // --json: the plan is printed by the command as JSON, not here.
    void SetJson(bool json) { json_ = json; }
    // --deterministic, SOURCE_DATE_EPOCH: the time that stands for now.
    void SetFixedTime(std::optional<std::int64_t> time) { fixedTime_ = time; }
    void SetDeterministic(bool deterministic) { deterministic_ = deterministic; }
    // The last message shown, taken as the reason of an output that failed.
    void SetLastMessage(std::function<std::string()> lastMessage) { lastMessage_ = std::move(lastMessage); }
    const std::vector<host::PlannedOutput>& Plan() const { return plan_; }
    const std::vector<host::ReportedOutput>& Reported() const { return reported_; }
    // Where the pages went; none before a plan was made.
    const std::optional<host::PageAccount>& Account() const { return account_; }
    const std::string& IndexPath() const { return index_; }
    const std::string& FailureReason() const { return failure_; }
    const std::vector<host::OptionSpec>& Declared() const { return declared_; }
    const std::string& Footer() const { return footer_; }

    bool HasOutcome() const { return hasOutcome_; }
    host::RunOutcome Outcome() const { return outcome_; }
    const std::string& OutcomeMessage() const { return message_; }

private:
    void AddOption(CLI::App& command, const host::OptionSpec& spec);

    std::ostream& planOut_;
    std::optional<host::PageAccount> account_;
    std::vector<host::OptionSpec> declared_;
    std::string footer_;
    std::vector<host::OptionValue> values_;
    bool remembered_ = false;
    bool reset_ = false;
    bool dryRun_ = false;
    bool windows_ = false;
    std::string screenshot_;
    bool json_ = false;
    std::optional<std::int64_t> fixedTime_;
    bool deterministic_ = false;
    std::function<std::string()> lastMessage_;
    std::vector<host::PlannedOutput> plan_;
    std::vector<host::ReportedOutput> reported_;
    std::string index_, failure_;
    bool hasOutcome_ = false;
    host::RunOutcome outcome_ = host::RunOutcome::Done;
    std::string message_;
};

}  // namespace tessera::app
