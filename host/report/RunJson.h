#pragma once
// The plan and the report of a split as JSON, for scripts: field names are
// stable and described by doc/tessera-run.schema.json.
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/CommandLineServices.h"

namespace tessera::app {

// {"path", "pages", "sha256"} of an input: its absolute path and page count.
nlohmann::json InputJson(const std::string& path, int pages);
// Pages as runs: [[1, 3], [7, 7], [9, 5]].
nlohmann::json PageRunsJson(const std::vector<int>& pages);
// {"kind": "plan", "input", "outputs": [{"path", "file", "pages", "page_count",
// "name_source", "watermark"?, "key"?, "status"?: "no-pages"}]}
nlohmann::json PlanJson(nlohmann::json input, const std::vector<host::PlannedOutput>& outputs);
// {"pages", "in_outputs": {"count", "pages"}, "dropped": {"count", "runs":
// [{"pages", "reason", "kind", "value"}]}, "in_no_output": {"count", "pages"},
// "empty_outputs": [numbers], "beyond_document": [{"output", "pages"}]}
nlohmann::json AccountJson(const host::PageAccount& account);
// One output after a run: {"path", "pages", "page_count", "status"} and, for
// a file that was written, "bytes" and "sha256" of the file as it is on disk.
// A written file that is not there (any more) counts as "failed".
nlohmann::json OutputJson(const host::ReportedOutput& output);
// Where entry[key], a path, is not UTF-8, its exact bytes beside it as
// key + "_bytes" in base64: JSON's text replaces such bytes, and two names
// that differ only in them would read alike.
void AddExactBytes(nlohmann::json& entry, const std::string& key);
// The path made absolute and normal, or as it is when that fails.
std::string AbsolutePath(const std::string& path);
// Whether any output reported written is on disk.
bool SomeWrittenOnDisk(const std::vector<host::ReportedOutput>& outputs);
// One line of JSON, its text kept even where it is not UTF-8.
std::string JsonLine(const nlohmann::json& value);

}  // namespace tessera::app
