#include "ui/WindowSplitDialog.h"

#include "access/AlertByKey.h"
#include "access/Host.h"
#include "access/RegistrySettings.h"
#include "ui/CommandLineSettings.h"
#include "ui/SplitSettingsDialog.h"

namespace tessera {
namespace {

// The options given with the window over the remembered settings. False after
// the refusal was reported.
bool StartFromOptions(SplitSettingsDialog& dialog, const DocumentHandle& document, unsigned pageCount,
                      const AcceptedOutputs& lastAccepted) {
    host::CommandLineServices& commandLine = *Host().commandLine;
    if (commandLine.SplitOptions().empty()) return true;
    SplitSettings start;
    LoadSettingsFromRegistry(start);
    if (document.HasDocument() && lastAccepted.documentPath == document.FilePath()) start.Outputs = lastAccepted.list;
    const std::optional<GivenOptions> given = ApplyCommandOptions(start, pageCount);
    if (!given) return false;
    if (!given->saveProfile.empty()) {
        commandLine.ReportOutcome(host::RunOutcome::UsageError,
                                  "--save-profile goes without --gui: the window has its Save Profile button");
        return false;
    }
    dialog.ApplySettings(start);
    return true;
}

}  // namespace

std::optional<SplitSettings> WindowSplitDialog::Run(unsigned pageCount, const DocumentHandle& document) {
    host::CommandLineServices& commandLine = *Host().commandLine;
    if (!windows_.Ready()) {
        commandLine.ReportOutcome(host::RunOutcome::Failed);
        return std::nullopt;
    }
    SplitSettingsDialog dialog(document, static_cast<int>(pageCount), {.remembersSettings = true, .memory = &memory_});
    if (accepted_)
        dialog.ApplySettings(*accepted_);
    else if (!StartFromOptions(dialog, document, pageCount, memory_.accepted))
        return std::nullopt;
    const std::string image = commandLine.ScreenshotPath();
    if (!image.empty()) {
        const bool saved = windows_.SaveImage(dialog, image);
        if (!saved) AlertByKey("IDS_SCREENSHOT_NOT_WRITTEN");
        commandLine.ReportOutcome(saved ? host::RunOutcome::Done : host::RunOutcome::Failed);
        return std::nullopt;
    }
    if (!windows_.RunModal(dialog)) {
        commandLine.ReportOutcome(host::RunOutcome::Cancelled);
        return std::nullopt;
    }
    accepted_ = dialog.Result();
    return accepted_;
}

}  // namespace tessera
