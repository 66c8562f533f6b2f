#pragma once
// Batch sequences: command handlers registered by name, the host's command
// instances with their stored values, and the runner of a sequence of
// commands over many documents.
#include <cstdint>
#include <optional>
#include <string>

#include "host/Cabinet.h"
#include "host/HostTypes.h"
#include "host/ProgressMonitor.h"

namespace tessera::host {

using CommandId = std::uint32_t;
inline constexpr CommandId kNoCommand = 0;

enum class CommandStatus : std::int32_t { Ready = 0, Working = 1, Done = 2, Cancelled = 3, Error = 4 };

// What a handler gives the host: its callbacks, in the order of the host's
// handler record. Any may be null.
struct CommandHandler {
    bool (*initialise)() = nullptr;  // makes the default parameters
    void (*terminate)() = nullptr;
    void (*registerGlobally)() = nullptr;
    void (*reset)(CommandId) = nullptr;
    void (*setParams)(CommandId, const Cabinet&) = nullptr;
    void (*getParams)(CommandId, Cabinet&) = nullptr;
    void (*getProperties)(CommandId, Cabinet&) = nullptr;
    CommandStatus (*showDialog)(CommandId) = nullptr;
    CommandStatus (*work)(CommandId) = nullptr;
    CommandStatus (*cancel)(CommandId) = nullptr;
    CommandStatus (*resetStatus)(CommandId) = nullptr;
};

// The values a command carries, by the keys the host knows.
inline constexpr const char* kParams = "Params";
inline constexpr const char* kParamsDesc = "ParamsDesc";
inline constexpr const char* kCommandState = "CommandState";
inline constexpr const char* kConfig = "Config";
// What a run gave, for the host's report line: "Written", "WithoutPages"
// (integers), "Completed" (boolean) and "Reason" (text).
inline constexpr const char* kResults = "Results";

class BatchServices {
public:
    virtual ~BatchServices() = default;

    // The host calls `initialise` at once; the record must outlive the registration.
    virtual void RegisterHandler(const std::string& name, const CommandHandler* handler) = 0;
    // Calls `terminate`; commands of the handler still alive are destroyed.
    virtual void UnregisterHandler(const std::string& name) = 0;
    virtual bool HasCommand(const std::string& name) = 0;
    // A command for the handler; kNoCommand when no handler has the name.
    virtual CommandId NewCommand(const std::string& name) = 0;
    virtual void DestroyCommand(CommandId command) = 0;

    virtual std::optional<Cabinet> Value(CommandId command, const std::string& key) = 0;
    // None clears the value.
    virtual void SetValue(CommandId command, const std::string& key, std::optional<Cabinet> value) = 0;
    // The document a command works on; kNoDocument outside a run.
    virtual DocId Document(CommandId command) = 0;
    // Never null.
    virtual ProgressMonitor& Progress(CommandId command) = 0;
    // The command's report procedure: a failure to show for the current document.
    virtual void Report(CommandId command, int severity, const std::string& text) = 0;

    // Runs a sequence cabinet ("Commands", "Input", "Output") over each of its
    // files, a failure of one going on with the next; false when it was
    // refused before any file (a part missing, nothing to run).
    virtual bool RunSequence(const Cabinet& sequence) = 0;
    // Ends the host once the current work is over.
    virtual void CloseHost() = 0;
};

}  // namespace tessera::host
