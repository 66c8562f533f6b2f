#pragma once
// The split engine's entry: plan, name, produce, index.
#include <ctime>
#include <optional>
#include <vector>

#include "access/DocumentHandle.h"
#include "engine/OutputNaming.h"
#include "engine/RunContext.h"
#include "engine/RunEnd.h"
#include "host/CommandLineServices.h"
#include "model/SplitSettings.h"

namespace tessera {

// Plans and names the outputs without writing anything: the index entries of
// the named outputs, empty with no output planned. None when the run would
// stop (its message shown), also when an output's path (or the index's) is
// longer than the system takes.
// The page account of the plan is warned of here and kept in `account`.
std::optional<std::vector<IndexEntry>> PlanAndName(SplitSettings& settings, const DocumentHandle& source,
                                                   const std::tm& today, host::PageAccount* account = nullptr);

// The check every route makes, made again by the run for callers that did
// not: each problem is shown, and the first one returned for a batch's line.
// Made before a page is scanned, so a pattern that does not compile is
// said, not searched for.
std::optional<std::string> SettingsRefusal(const SplitSettings& settings, const DocumentHandle& source);

// Why the outputs' names from --names do not fit the planned outputs: a
// list of another length; none when they fit or there is no list.
std::optional<std::string> NamesListMismatch(const SplitSettings& settings);

struct SplitResult {
    RunEnd end = RunEnd::Failed;
    std::size_t written = 0;       // output files written
    std::size_t withoutPages = 0;  // planned outputs left out for having no pages
    // Per output the run reached, in order: written (true) or left out
    // without pages; the one after them failed when the run failed while
    // writing (`writing`).
    std::vector<bool> reached;
    bool writing = false;
    std::string index;                         // the HTML index's path, when it was written
    std::optional<host::PageAccount> account;  // where the plan put every page, once planned
    std::string refusal;                       // the message of a failure the run found itself (a file in
                                               // the way, the index), already shown; else empty

    bool Completed() const { return end == RunEnd::Completed; }
};

// The whole run; it completes also when no output was planned, and fails
// when its HTML index cannot be written. Settings CheckSettings refuses are
// refused before a page is read, each problem shown, the first as `refusal`.
// A host error that no step answers with a message of its own goes on to the
// command.
SplitResult RunSplit(SplitSettings& settings, const DocumentHandle& source, const RunContext& context = {});

// Today in local time.
std::tm LocalToday();

}  // namespace tessera
