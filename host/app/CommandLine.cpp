#include "app/CommandLine.h"

#include <CLI/CLI.hpp>

#include "app/SplitOptions.h"
#include "app/SplitRun.h"

namespace tessera::app {

int RunCommandLine(int argc, char** argv) {
    CLI::App app{"Tessera splits one PDF document into many."};
    app.require_subcommand(1);
    SplitRequest request;
    CLI::App* split = app.add_subcommand("split", "Split a PDF document into several output documents");
    AddSplitOptions(*split, request);
    try {
        app.parse(argc, argv);
        if (split->parsed()) {
            SplitSettings probe;
            ApplySplitOptions(request, probe);  // malformed values are usage errors, found before any work
            return RunSplitCommand(request);
        }
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);
        return status == 0 ? 0 : 2;
    }
    return 2;
}

}  // namespace tessera::app
