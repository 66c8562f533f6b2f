#pragma once
// The real host (qpdf documents, a settings file in a temporary folder) with a
// viewer that records what the plug-in shows instead of printing it.
#include <memory>
#include <string>
#include <vector>

#include "app/HostRuntime.h"
#include "support/TempFolder.h"

namespace tessera::test {

class RecordingViewer : public host::ViewerServices {
public:
    host::ViewerVersion Version() override { return version; }
    host::DocId ActiveDocument() override { return active; }
    void Alert(const std::string& text) override { alerts.push_back(text); }
    void MessageBox(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string&, const std::string& text) override {
        questions.push_back(text);
        return answer;
    }
    host::ProgressMonitor& DocumentProgressMonitor() override { return progress; }

    host::ViewerVersion version{6, 0};
    host::DocId active = host::kNoDocument;
    bool answer = false;
    std::vector<std::string> alerts, messages, questions;
    host::ProgressMonitor progress;
};

class TestHost {
public:
    TestHost();
    // Opens a file of tests/data (or any path) and makes it the active document.
    host::DocId OpenActive(const std::string& name, const std::string& password = "");

    RecordingViewer viewer;
    TempFolder folder;
    app::HostRuntime runtime;
};

// The path of a file in tests/data.
std::string DataFile(const std::string& name);

}  // namespace tessera::test
