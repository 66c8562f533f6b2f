#pragma once
// Where every page of the input went: into outputs, dropped on purpose with
// what made it go, or into no output; and what of that a user is warned of.
#include <string>
#include <vector>

#include "host/CommandLineServices.h"
#include "model/SplitSettings.h"

namespace tessera {

// The account of a planned (and named) run.
host::PageAccount AccountPages(const SplitSettings& settings, int pageCount);

// The warnings the account calls for, one text each: a separator split that
// found no separator, outputs without pages, pages in no output where the
// method is meant to take them all, and a document more than half dropped.
std::vector<std::string> AccountWarnings(const SplitSettings& settings, const host::PageAccount& account);

// The account's sentences for a closing summary: pages in outputs, the
// dropped ones, those in no output and the outputs without pages, each
// only when there is something to say but the first.
std::string AccountSummary(const SplitSettings& settings, const host::PageAccount& account);

// Pages as runs, "1-3, 7, 9-12", cut after kListedRuns runs with how many
// pages more there are.
inline constexpr std::size_t kListedRuns = 24;
std::string ShortPageList(const std::vector<int>& pages);

}  // namespace tessera
