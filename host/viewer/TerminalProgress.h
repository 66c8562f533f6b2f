#pragma once
// A one-line progress bar on stderr, drawn only when stderr is a terminal.
#include <chrono>
#include <string>

#include "host/ProgressMonitor.h"

namespace tessera::app {

class TerminalProgress : public host::ProgressMonitor {
public:
    explicit TerminalProgress(bool enabled) : enabled_(enabled) {}
    void BeginOperation() override;
    void EndOperation() override;
    void SetDuration(int steps) override { duration_ = steps; }
    void SetValue(int step) override;
    void SetText(const std::string& text) override;

private:
    void Draw();
    bool enabled_;
    bool drawn_ = false;
    int duration_ = 0;
    int value_ = 0;
    std::string text_;
    std::chrono::steady_clock::time_point lastDraw_{};
};

}  // namespace tessera::app
