#include "viewer/JsonProgress.h"

#include <cstdio>
#include <thread>

#include <nlohmann/json.hpp>

namespace tessera::app {

constexpr auto kLeastPause = std::chrono::milliseconds(100);

void JsonProgress::BeginOperation() {
    phase_ = "scan";
    page_ = of_ = written_ = outputs_ = 0;
}

void JsonProgress::SetValue(int step) {
    page_ = step;
    Emit();
}

void JsonProgress::SetText(const std::string& text) {
    text_ = text;
    Emit();
}

// Said with the next value.
void JsonProgress::SetOutputs(int written, int outputs) {
    phase_ = "write";
    written_ = written;
    outputs_ = outputs;
}

// The last state of an operation is always said, after the pause the rate asks.
void JsonProgress::EndOperation() {
    if (!pending_) return;
    std::this_thread::sleep_until(last_ + kLeastPause);
    Emit();
}

void JsonProgress::Emit() {
    const auto now = std::chrono::steady_clock::now();
    pending_ = now - last_ < kLeastPause;
    if (pending_) return;
    last_ = now;
    const nlohmann::json line = {
        {"phase", phase_},    {"text", text_}, {"page", page_}, {"of", of_}, {"outputs_written", written_},
        {"outputs", outputs_}};
    const std::string text = line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
}

}  // namespace tessera::app
