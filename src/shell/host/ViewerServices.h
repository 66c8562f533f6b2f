#pragma once
// The viewer around the plug-in ("AcroView" and "Win"): version, active
// document, alerts, questions and progress.
#include <string>

#include "shell/host/HostTypes.h"
#include "shell/host/ProgressMonitor.h"

namespace tessera::host {

struct ViewerVersion {
    short major = 0;
    short minor = 0;
};

class ViewerServices {
public:
    static constexpr const char* kTableName = "AcroView";
    virtual ~ViewerServices() = default;

    virtual ViewerVersion Version() = 0;
    virtual DocId ActiveDocument() = 0;
    // The host's modal alert: one text, OK only.
    virtual void Alert(const std::string& text) = 0;
    // A plain platform message box (OK only), for messages outside the language table.
    virtual void MessageBox(const std::string& text) = 0;
    // A Yes/No question; true only for Yes.
    virtual bool AskYesNo(const std::string& title, const std::string& text) = 0;
    // The monitor for document work; never null.
    virtual ProgressMonitor& DocumentProgressMonitor() = 0;
};

}  // namespace tessera::host
