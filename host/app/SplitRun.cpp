#include "app/SplitRun.h"

#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "app/ConsoleViewer.h"
#include "app/HostRuntime.h"
#include "app/PlanPrinter.h"
#include "shell/host/HostError.h"
#include "engine/DocumentHandle.h"
#include "engine/RunSplit.h"
#include "model/RegistrySettings.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

#include <algorithm>

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

int DryRun(SplitSettings& settings, const DocumentHandle& source) {
    std::vector<IndexEntry> entries;
    if (!PlanAndName(settings, source, LocalToday(), entries)) {
        AlertByKey("IDS_CANT_PROCESS_THIS_FILE_ACCORDING_TO_SETTINGS");
        return 1;
    }
    std::vector<std::string> names;
    for (IndexEntry& entry : entries) {
        std::replace(entry.file.begin(), entry.file.end(), '\\', '/');
        names.push_back(entry.file);
    }
    PrintPlan(std::cout, settings.Outputs, names, source.PageCount());
    return 0;
}

int Split(SplitSettings& settings, const DocumentHandle& source, ConsoleViewer& viewer, bool quiet) {
    if (!RunSplit(settings, source)) {
        AlertByKey("IDS_CANT_PROCESS_THIS_FILE_ACCORDING_TO_SETTINGS");
        return 1;
    }
    if (quiet) return 0;
    if (settings.Outputs.empty())
        AlertByKey("IDS_SPLIT_FINAL_REPORT_NO_OUTPUT");
    else
        viewer.Alert(FormatText(LookupString("IDS_SPLIT_FINAL_REPORT"), {static_cast<std::int64_t>(settings.Outputs.size())}));
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
    const DocumentHandle source(doc, DocumentHandle::Ownership::Borrowed);
    return request.dryRun ? DryRun(settings, source) : Split(settings, source, viewer, request.quiet);
}

}  // namespace tessera::app
