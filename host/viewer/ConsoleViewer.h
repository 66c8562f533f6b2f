#pragma once
// The viewer as a command-line program: alerts on stderr, a progress bar on a
// terminal, the menus extensions add items to, and start-up notifications.
#include <memory>
#include <string>
#include <vector>

#include "host/ViewerServices.h"
#include "viewer/MenuBar.h"

namespace tessera::app {

// A worker's warning travels to the parent as an alert with this mark before it.
inline constexpr char kWarningMark = '\x1e';

class ConsoleViewer : public host::ViewerServices {
public:
    ConsoleViewer();
    ~ConsoleViewer() override;

    host::ViewerVersion Version() override { return version_; }
    host::DocId ActiveDocument() override { return active_; }
    void Alert(const std::string& text) override;
    void AlertReport(const std::string& text) override;
    void AlertWarning(const std::string& text) override;
    host::ProgressMonitor& DocumentProgressMonitor() override;

    bool HasMenu(const std::string& menu) override { return menus_.HasMenu(menu); }
    host::MenuItemId NewMenuItem(const std::string& title, const std::string& name, host::ExtensionId owner) override;
    void SetExecuteProcedure(host::MenuItemId item, host::MenuProcedure procedure, void* data) override;
    void SetComputeEnabledProcedure(host::MenuItemId item, host::EnableProcedure procedure, void* data) override;
    void AddMenuItem(const std::string& menu, host::MenuItemId item, int position) override;
    void RegisterNotification(int number, host::ExtensionId owner, host::NotificationProcedure procedure,
                              void* data) override;

    void SetActiveDocument(host::DocId doc) { active_ = doc; }
    void SetVersion(host::ViewerVersion version) { version_ = version; }
    // Quiet: no progress bar, and alerts are held back until ReleaseAlerts.
    void SetQuiet(bool quiet);
    // "bar" on a terminal, "json" lines on stderr (app/JsonProgress.h), or "none".
    void SetProgressStyle(const std::string& style);
    // The warnings, and every other alert, shown so far in this process.
    const std::vector<std::string>& Warnings() const { return warnings_; }
    const std::vector<std::string>& Messages() const { return messages_; }
    // The messages since the last output was written (or left out): why the
    // output being written failed, when it did.
    std::string MessagesOfOutput() const;
    // Which held alerts to show: all, or all but the reports of splits that
    // completed (AlertReport).
    enum class Held { All, AllButReport };
    void ReleaseAlerts(Held show);
    // In a worker process: no progress bar, and alerts go to `relay` for the
    // parent to show; null shows them again.
    void RelayAlerts(std::vector<std::string>* relay);
    const MenuBar& Menus() const { return menus_; }
    // Sends a notification to every handler registered for its number.
    void Notify(int number);

private:
    host::ViewerVersion version_{6, 0};
    host::DocId active_ = host::kNoDocument;
    bool quiet_ = false;
    struct HeldAlert {
        std::string text;
        bool report;
    };
    void Show(const std::string& text, bool report);
    std::vector<HeldAlert> held_;
    std::vector<std::string>* relay_ = nullptr;
    std::vector<std::string> warnings_, messages_;
    bool showingWarning_ = false;
    std::unique_ptr<host::ProgressMonitor> progress_;
    // Forwards to progress_, and marks where each output's messages begin.
    // An operation begun inside another (the links of one output, inside
    // the writing of all) shows its text only: its steps would fill the
    // bar of the whole run.
    class OutputMarks : public host::ProgressMonitor {
    public:
        explicit OutputMarks(ConsoleViewer& viewer) : viewer_(viewer) {}
        void BeginOperation() override {
            if (depth_++ == 0) viewer_.progress_->BeginOperation();
        }
        void EndOperation() override {
            if (depth_ > 0 && --depth_ == 0) viewer_.progress_->EndOperation();
        }
        void SetDuration(int steps) override {
            if (depth_ <= 1) viewer_.progress_->SetDuration(steps);
        }
        void SetValue(int step) override {
            if (depth_ <= 1) viewer_.progress_->SetValue(step);
        }
        void SetText(const std::string& text) override { viewer_.progress_->SetText(text); }
        void SetOutputs(int written, int outputs) override {
            viewer_.outputMessagesFrom_ = viewer_.messages_.size();
            viewer_.progress_->SetOutputs(written, outputs);
        }
        bool CancelRequested() override { return viewer_.progress_->CancelRequested(); }

    private:
        ConsoleViewer& viewer_;
        int depth_ = 0;
    };
    OutputMarks marks_{*this};
    std::size_t outputMessagesFrom_ = 0;
    MenuBar menus_;
    struct Handler {
        int number;
        host::NotificationProcedure procedure;
        void* data;
    };
    std::vector<Handler> handlers_;
};

}  // namespace tessera::app
