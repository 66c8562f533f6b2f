#include "app/ConsoleViewer.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "app/TerminalProgress.h"

namespace tessera::app {

ConsoleViewer::ConsoleViewer() : progress_(std::make_unique<TerminalProgress>(::isatty(STDERR_FILENO))) {}

ConsoleViewer::~ConsoleViewer() = default;

void ConsoleViewer::SetQuiet(bool quiet) {
    progress_ = std::make_unique<TerminalProgress>(!quiet && ::isatty(STDERR_FILENO));
}

void ConsoleViewer::Alert(const std::string& text) {
    progress_->EndOperation();
    std::cerr << "tessera: " << text << std::endl;
}

void ConsoleViewer::MessageBox(const std::string& text) { Alert(text); }

bool ConsoleViewer::AskYesNo(const std::string& title, const std::string& text) {
    if (assumeYes_) return true;
    if (!::isatty(STDIN_FILENO) || !::isatty(STDERR_FILENO)) return false;
    progress_->EndOperation();
    std::cerr << (title.empty() ? "" : title + ": ") << text << " [y/N] " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) return false;
    return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
}

host::ProgressMonitor& ConsoleViewer::DocumentProgressMonitor() { return *progress_; }

}  // namespace tessera::app
