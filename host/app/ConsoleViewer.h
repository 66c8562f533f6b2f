#pragma once
// The viewer as a command-line program: alerts and messages on stderr,
// questions answered by --yes or a prompt on a terminal, a progress bar on a
// terminal.
#include <memory>

#include "shell/host/ViewerServices.h"

namespace tessera::app {

class ConsoleViewer : public host::ViewerServices {
public:
    ConsoleViewer();
    ~ConsoleViewer() override;

    host::ViewerVersion Version() override { return version_; }
    host::DocId ActiveDocument() override { return active_; }
    void Alert(const std::string& text) override;
    void MessageBox(const std::string& text) override;
    bool AskYesNo(const std::string& title, const std::string& text) override;
    host::ProgressMonitor& DocumentProgressMonitor() override;

    void SetActiveDocument(host::DocId doc) { active_ = doc; }
    void SetVersion(host::ViewerVersion version) { version_ = version; }
    void SetAssumeYes(bool yes) { assumeYes_ = yes; }
    void SetQuiet(bool quiet);

private:
    host::ViewerVersion version_{6, 0};
    host::DocId active_ = host::kNoDocument;
    bool assumeYes_ = false;
    std::unique_ptr<host::ProgressMonitor> progress_;
};

}  // namespace tessera::app
