#pragma once
// Progress for programs: one JSON object a line on stderr, at most ten a
// second: {"phase", "text", "page", "of", "outputs_written", "outputs"}.
// "phase" is "scan" for work over the input's pages and "write" once outputs
// are being written; "page" counts the pages of the phase done so far.
#include <chrono>
#include <string>

#include "host/ProgressMonitor.h"

namespace tessera::app {

class JsonProgress : public host::ProgressMonitor {
public:
    void BeginOperation() override;
    void EndOperation() override;
    void SetDuration(int steps) override { of_ = steps; }
    void SetValue(int step) override;
    void SetText(const std::string& text) override;
    void SetOutputs(int written, int outputs) override;

private:
    void Emit();
    std::string phase_ = "scan";
    std::string text_;
    int page_ = 0, of_ = 0, written_ = 0, outputs_ = 0;
    std::chrono::steady_clock::time_point last_{};
    bool pending_ = false;  // a state not said yet
};

}  // namespace tessera::app
