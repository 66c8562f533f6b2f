#pragma once
// --plan-picture: after a dry run, its plan drawn into a PNG file.
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/CommandLineFrontEnd.h"
#include "runtime/HostRuntime.h"

namespace tessera::app {

// Why the option cannot be used as given ("" when it can): it goes with
// --dry-run, names a .png file, and never the input.
std::string PlanPictureRefusal(const std::string& picture, bool dryRun, const std::string& input);

// Draws the plan the front end holds for the document into `path`; the JSON
// of where each output and page is on it ({"path", "width", "height",
// "outputs": [{"output", "colour", "bands": [[x, y, w, h]...]}], "pages": [{"page",
// "output", "state", "box": [x, y, w, h]}]}), or none with the reason in `error`.
std::optional<nlohmann::json> DrawPlanPicture(const std::string& path, const std::string& input, HostRuntime& runtime,
                                              host::DocId doc, const CommandLineFrontEnd& front, std::string& error);

}  // namespace tessera::app
