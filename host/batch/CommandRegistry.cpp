#include "batch/CommandRegistry.h"

#include "batch/SequenceRunner.h"

namespace tessera::app {

// A handler still registered belongs to a module that may be gone by now;
// its own unload is where it lets go.
CommandRegistry::~CommandRegistry() = default;

void CommandRegistry::SetReport(std::ostream* lines, bool showProgress) {
    lines_ = lines;
    showProgress_ = showProgress;
}

void CommandRegistry::RegisterHandler(const std::string& name, const host::CommandHandler* handler) {
    handlers_[name] = handler;
    if (handler->initialise) handler->initialise();
}

void CommandRegistry::UnregisterHandler(const std::string& name) {
    const auto found = handlers_.find(name);
    if (found == handlers_.end()) return;
    std::erase_if(commands_, [&](const auto& entry) { return entry.second.handler == name; });
    const host::CommandHandler* handler = found->second;
    handlers_.erase(found);
    if (handler->terminate) handler->terminate();
}

host::CommandId CommandRegistry::NewCommand(const std::string& name) {
    if (!HasCommand(name)) return host::kNoCommand;
    commands_[next_] = Command{name, {}, host::kNoDocument};
    return next_++;
}

const host::CommandHandler* CommandRegistry::Handler(host::CommandId command) const {
    const auto found = commands_.find(command);
    if (found == commands_.end()) return nullptr;
    const auto handler = handlers_.find(found->second.handler);
    return handler == handlers_.end() ? nullptr : handler->second;
}

std::optional<host::Cabinet> CommandRegistry::Value(host::CommandId command, const std::string& key) {
    const auto found = commands_.find(command);
    if (found == commands_.end()) return std::nullopt;
    const auto value = found->second.values.find(key);
    if (value == found->second.values.end()) return std::nullopt;
    return value->second;
}

void CommandRegistry::SetValue(host::CommandId command, const std::string& key, std::optional<host::Cabinet> value) {
    const auto found = commands_.find(command);
    if (found == commands_.end()) return;
    if (value)
        found->second.values[key] = std::move(*value);
    else
        found->second.values.erase(key);
}

void CommandRegistry::SetDocument(host::CommandId command, host::DocId doc) {
    if (const auto found = commands_.find(command); found != commands_.end()) found->second.doc = doc;
}

host::DocId CommandRegistry::Document(host::CommandId command) {
    const auto found = commands_.find(command);
    return found == commands_.end() ? host::kNoDocument : found->second.doc;
}

void CommandRegistry::Report(host::CommandId, int, const std::string& text) { viewer_.Alert(text); }

bool CommandRegistry::RunSequence(const host::Cabinet& sequence) {
    SequenceRunner runner(*this, store_, lines_, showProgress_, options_);
    const bool ran = runner.Run(sequence);
    lastRun_ = runner.Tally();
    return ran;
}

}  // namespace tessera::app
