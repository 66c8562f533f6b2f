#include "viewer/TerminalProgress.h"

#include <algorithm>
#include <cstdio>

namespace tessera::app {

void TerminalProgress::BeginOperation() {
    value_ = 0;
    duration_ = 0;
    drawn_ = false;
}

void TerminalProgress::EndOperation() {
    if (enabled_ && drawn_) std::fputs("\r\033[K", stderr);
    drawn_ = false;
}

void TerminalProgress::SetValue(int step) {
    value_ = step;
    // Redrawing at every page of a long scan would cost more than the scan.
    const auto now = std::chrono::steady_clock::now();
    if (now - lastDraw_ < std::chrono::milliseconds(100) && step < duration_) return;
    lastDraw_ = now;
    Draw();
}

void TerminalProgress::SetText(const std::string& text) {
    text_ = text;
    Draw();
}

void TerminalProgress::Draw() {
    if (!enabled_) return;
    if (duration_ <= 0) {  // no steps to show: the text tells where the work is
        std::fprintf(stderr, "\r\033[K%.70s", text_.c_str());
        std::fflush(stderr);
        drawn_ = true;
        return;
    }
    constexpr int kWidth = 30;
    const int filled = duration_ > 0 ? std::clamp(value_ * kWidth / duration_, 0, kWidth) : 0;
    std::fprintf(stderr, "\r\033[K%.60s [%s%s]", text_.c_str(),
                 std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(kWidth - filled), ' ').c_str());
    std::fflush(stderr);
    drawn_ = true;
}

}  // namespace tessera::app
