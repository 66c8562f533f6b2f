#pragma once
// With --json, the report a signal leaves on standard output: the outputs
// finished before it, as a run's report lists them, with the outcome
// "interrupted". Composed as the run goes, as the handler may only write it.
#include <functional>
#include <string>
#include <vector>

namespace tessera::app {

// From now on a signal prints a report on `input`, the JSON of the input;
// `warnings` gives the warnings so far whenever an output is added.
void StartSignalJson(const std::string& input, std::function<std::vector<std::string>()> warnings);
// An output finished: its file is read for its size and digest. Nothing
// before StartSignalJson; called with the signals held.
void AddSignalJsonOutput(const std::string& path, const std::vector<int>& pages);
// In the signal handler: the report, when one was started.
void WriteSignalJson(int signal);

}  // namespace tessera::app
