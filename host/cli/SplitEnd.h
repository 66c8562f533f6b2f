#pragma once
// How `tessera split` ends for scripts: the exit status that tells "done
// with warnings" and "partly done" apart, the time that stands for now in a
// run that must repeat itself, and the JSON plan or report.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/CommandLineFrontEnd.h"
#include "viewer/ConsoleViewer.h"

namespace tessera::app {

// 0 done, 1 failed, 2 usage error, 3 done with warnings (0 with
// `warningsAreFine`), 4 partly done: a failure or an interrupt after some
// outputs were written, which are still there.
int SplitExitStatus(int status, const CommandLineFrontEnd& front, const ConsoleViewer& viewer, bool warningsAreFine);

// SOURCE_DATE_EPOCH when it is set, else with `deterministic` the input's
// modification time; none for the clock. A SOURCE_DATE_EPOCH that is not a
// number of seconds from 1970 to 9999 is said in `error`, and not used.
std::optional<std::int64_t> FixedTimeFor(bool deterministic, const std::string& input, std::string& error);

// Sets the time that stands for now, and whether the files must repeat run
// after run; false after a usage error. A bad SOURCE_DATE_EPOCH without
// --deterministic is said and the clock used: build tools set it for every tool.
bool SetTimeRules(CommandLineFrontEnd& front, bool deterministic, const std::string& input);

// The exit status the plug-in's outcome of the run stands for.
int StatusOfOutcome(const CommandLineFrontEnd& front);

// The report of a run that ended before its input was open: no outputs, and
// `message` saying why.
void PrintEarlyEndJson(std::ostream& out, const std::string& input, const std::string& message, int status);

// With `dryRun` the plan, else the report: one JSON document on `out`; the
// plan's picture, where one was drawn, as "plan_picture".
void PrintSplitJson(std::ostream& out, const std::string& input, int pages, const CommandLineFrontEnd& front,
                    const ConsoleViewer& viewer, int status, bool dryRun, const nlohmann::json* picture = nullptr);

}  // namespace tessera::app
