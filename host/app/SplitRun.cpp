#include "app/SplitRun.h"

#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "app/ConsoleViewer.h"
#include "app/HostRuntime.h"
#include "app/PlanPrinter.h"
#include "shell/host/HostError.h"
#include "engine/DocumentHandle.h"
#include "engine/OutputPlanner.h"
#include "model/RegistrySettings.h"
#include "strings/LanguageTable.h"

namespace tessera::app {
namespace {

// The folder of the running program, where the language files lie.
std::string ProgramFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("./") : exe.parent_path().string() + "/";
}

SplitSettings WorkingSettings(const SplitRequest& request) {
    SplitSettings working;
    if (request.reset)
        working.Filename.OutputFolder = DefaultOutputFolder();
    else
        LoadSettingsFromRegistry(working);
    ApplySplitOptions(request, working);
    return working;
}

int DryRun(SplitSettings& settings, int pageCount) {
    const DocumentHandle source(DocumentHandle::ActiveDocument(), DocumentHandle::Ownership::Borrowed);
    if (!PlanOutputs(settings, source)) {
        AlertByKey("IDS_CANT_PROCESS_THIS_FILE_ACCORDING_TO_SETTINGS");
        return 1;
    }
    std::vector<std::string> names;
    for (const OutputDocument& output : settings.Outputs) names.push_back(output.Filename);
    PrintPlan(std::cout, settings.Outputs, names, pageCount);
    return 0;
}

}  // namespace

int RunSplitCommand(const SplitRequest& request) {
    ConsoleViewer viewer;
    viewer.SetQuiet(request.quiet);
    viewer.SetAssumeYes(request.yes);
    HostRuntime runtime(viewer, settings::SettingsFile::DefaultPath("Tessera"));
    runtime.Install();
    LoadLanguageTables(ProgramFolder());

    host::DocId doc = host::kNoDocument;
    try {
        doc = runtime.Store().Open(request.input, request.password);
    } catch (const host::HostError& error) {
        viewer.Alert("cannot open " + request.input + ": " + error.what());
        return 1;
    }
    viewer.SetActiveDocument(doc);
    SplitSettings settings = SettingsForRun(WorkingSettings(request));
    if (request.dryRun) return DryRun(settings, runtime.Services().documents->PageCount(doc));
    viewer.Alert("writing outputs is not available yet; use --dry-run");
    return 1;
}

}  // namespace tessera::app
