#include "viewer/ConsoleViewer.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>

#include "report/TerminalText.h"
#include "viewer/JsonProgress.h"
#include "viewer/TerminalProgress.h"

namespace tessera::app {

ConsoleViewer::ConsoleViewer() : progress_(std::make_unique<TerminalProgress>(::isatty(STDERR_FILENO))) {}

ConsoleViewer::~ConsoleViewer() = default;

void ConsoleViewer::SetQuiet(bool quiet) {
    quiet_ = quiet;
    progress_ = std::make_unique<TerminalProgress>(!quiet && ::isatty(STDERR_FILENO));
}

void ConsoleViewer::Alert(const std::string& text) {
    if (!text.empty() && text.front() == kWarningMark) return AlertWarning(text.substr(1));
    Show(text, false);
}

void ConsoleViewer::AlertWarning(const std::string& text) {
    if (relay_) {
        relay_->push_back(kWarningMark + text);
        return;
    }
    warnings_.push_back(text);
    showingWarning_ = true;
    Alert(text);
    showingWarning_ = false;
}

void ConsoleViewer::SetProgressStyle(const std::string& style) {
    if (style == "json") progress_ = std::make_unique<JsonProgress>();
    if (style == "none") progress_ = std::make_unique<TerminalProgress>(false);
}

void ConsoleViewer::AlertReport(const std::string& text) { Show(text, true); }

void ConsoleViewer::Show(const std::string& text, bool report) {
    if (relay_) {
        relay_->push_back(text);
        return;
    }
    if (!showingWarning_) messages_.push_back(text);
    if (quiet_) {
        held_.push_back({text, report});
        return;
    }
    progress_->EndOperation();
    std::cerr << "tessera: " << EscapedForTerminal(text, true) << std::endl;
}

void ConsoleViewer::ReleaseAlerts(Held show) {
    for (const HeldAlert& alert : held_)
        if (!alert.report || show == Held::All) std::cerr << "tessera: " << alert.text << std::endl;
    held_.clear();
}

void ConsoleViewer::RelayAlerts(std::vector<std::string>* relay) {
    relay_ = relay;
    if (relay) progress_ = std::make_unique<TerminalProgress>(false);
}

host::ProgressMonitor& ConsoleViewer::DocumentProgressMonitor() { return marks_; }

std::string ConsoleViewer::MessagesOfOutput() const {
    std::string text;
    for (std::size_t i = std::min(outputMessagesFrom_, messages_.size()); i < messages_.size(); ++i)
        text += (text.empty() ? "" : "; ") + messages_[i];
    return text;
}

host::MenuItemId ConsoleViewer::NewMenuItem(const std::string& title, const std::string& name,
                                            host::ExtensionId owner) {
    return menus_.NewItem(title, name, owner);
}

void ConsoleViewer::SetExecuteProcedure(host::MenuItemId item, host::MenuProcedure procedure, void* data) {
    menus_.SetExecute(item, procedure, data);
}

void ConsoleViewer::SetComputeEnabledProcedure(host::MenuItemId item, host::EnableProcedure procedure, void* data) {
    menus_.SetComputeEnabled(item, procedure, data);
}

void ConsoleViewer::AddMenuItem(const std::string& menu, host::MenuItemId item, int position) {
    menus_.Add(menu, item, position);
}

void ConsoleViewer::RegisterNotification(int number, host::ExtensionId, host::NotificationProcedure procedure,
                                         void* data) {
    handlers_.push_back({number, procedure, data});
}

void ConsoleViewer::Notify(int number) {
    for (const Handler& h : handlers_)
        if (h.number == number) h.procedure(h.data);
}

}  // namespace tessera::app
