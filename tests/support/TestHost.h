#pragma once
// The real host (qpdf documents, a settings file in a temporary folder) with a
// viewer and windows that record what the plug-in shows instead of printing it.
#include <sstream>
#include <string>
#include <vector>

#include "cli/CommandLineFrontEnd.h"
#include "runtime/HostRuntime.h"
#include "support/ScopedHost.h"
#include "support/TempFolder.h"
#include "viewer/ConsoleViewer.h"
#include "viewer/ConsoleWindows.h"

namespace tessera::test {

// Progress whose user presses Cancel once `cancelAfter` outputs are written
// (never while it is negative).
struct CancellingProgress : host::ProgressMonitor {
    void BeginOperation() override { ++operations; }
    void SetOutputs(int written, int) override { cancelled = cancelAfter >= 0 && written >= cancelAfter; }
    bool CancelRequested() override { return cancelled; }
    int cancelAfter = -1;
    bool cancelled = false;
    int operations = 0;  // begun, a progress window each on a desktop
};

class RecordingViewer : public app::ConsoleViewer {
public:
    void Alert(const std::string& text) override { alerts.push_back(text); }
    void AlertReport(const std::string& text) override { alerts.push_back(text); }
    host::ViewerVersion Version() override { return version; }
    host::ProgressMonitor& DocumentProgressMonitor() override { return progress; }

    host::ViewerVersion version{6, 0};
    std::vector<std::string> alerts;
    CancellingProgress progress;
};

class RecordingWindows : public app::ConsoleWindows {
public:
    void MessageBox(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string&, const std::string& text) override {
        questions.push_back(text);
        return answer;
    }
    void ShowInformation(const std::string& title, const std::vector<std::string>& lines) override {
        information.push_back(title);
        information.insert(information.end(), lines.begin(), lines.end());
    }
    bool OpenWithShell(const std::string& path) override {
        opened.push_back(path);
        return openSucceeds;
    }

    bool answer = false;
    bool openSucceeds = true;
    std::vector<std::string> messages, questions, information, opened;
};

class TestHost {
public:
    // Makes the real host's services the ones the linked-in plug-in calls, for
    // the test host's life.
    TestHost();
    // Opens a file of tests/data (or any path) and makes it the active document.
    host::DocId OpenActive(const std::string& name, const std::string& password = "");

    RecordingViewer viewer;
    RecordingWindows windows;
    std::ostringstream plan;
    app::CommandLineFrontEnd commandLine{plan};
    TempFolder folder;
    app::HostRuntime runtime;
    ScopedHost locator{runtime.Services()};
};

// The path of a file in tests/data.
std::string DataFile(const std::string& name);

}  // namespace tessera::test
