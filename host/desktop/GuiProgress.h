#pragma once
// The progress monitor as a Qt progress dialog whose Cancel stops the work at
// its next safe point.
#include <memory>

#include "host/ProgressMonitor.h"

class QProgressDialog;

namespace tessera::app {

class GuiProgress : public host::ProgressMonitor {
public:
    GuiProgress();
    ~GuiProgress() override;
    // An operation inside another shows its text only, as on the terminal.
    void BeginOperation() override;
    void EndOperation() override { depth_ = depth_ > 0 ? depth_ - 1 : 0; }
    // The dialog stays up between the operations of one run, so that it does
    // not flicker from output to output; Close takes it down.
    void SetDuration(int steps) override;
    void SetValue(int step) override;
    void SetText(const std::string& text) override;
    bool CancelRequested() override;
    void Close();

private:
    std::unique_ptr<QProgressDialog> dialog_;
    bool cancelled_ = false;
    int depth_ = 0;
};

}  // namespace tessera::app
