// The settings dialog in a window, as the split command's dialog when the
// host shows windows.
#include "access/AlertByKey.h"
#include "access/Host.h"
#include "access/RegistrySettings.h"
#include "ui/CommandLineDialog.h"
#include "ui/SplitDialog.h"
#include "ui/SplitSettingsDialog.h"
#include "ui/qt/QtDialogView.h"
#include "ui/qt/QtWindowFactory.h"

namespace tessera {
namespace {

// The options given with the window (--profile included) are its starting
// values, over the remembered settings. False after the refusal was reported.
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

class QtSplitDialog : public SplitDialog {
public:
    QtSplitDialog(DialogMemory& memory, QtDialogView::Driver driver) : memory_(memory), driver_(std::move(driver)) {}

    // The window reads and keeps the remembered settings itself.
    std::optional<SplitSettings> Run(unsigned pageCount, const DocumentHandle& document) override {
        host::CommandLineServices& commandLine = *Host().commandLine;
        SplitSettingsDialog dialog(document, static_cast<int>(pageCount), {.remembersSettings = true, .memory = &memory_});
        if (!StartFromOptions(dialog, document, pageCount, memory_.accepted)) return std::nullopt;
        QtDialogView view(dialog, nullptr, driver_);
        const std::string image = commandLine.ScreenshotPath();
        if (!image.empty()) {
            const bool saved = view.SaveImage(image);
            if (!saved) AlertByKey("IDS_SCREENSHOT_NOT_WRITTEN");
            commandLine.ReportOutcome(saved ? host::RunOutcome::Done : host::RunOutcome::Failed);
            return std::nullopt;
        }
        if (!view.Run()) {
            commandLine.ReportOutcome(host::RunOutcome::Cancelled);
            return std::nullopt;
        }
        return dialog.Result();
    }

private:
    DialogMemory& memory_;
    QtDialogView::Driver driver_;
};

}  // namespace

std::unique_ptr<SplitDialog> QtWindowFactory::NewSplitWindow(DialogMemory& memory) {
    return std::make_unique<QtSplitDialog>(memory, driver_);
}

bool QtWindowFactory::RunModal(Dialog& dialog) {
    QtDialogView view(dialog, nullptr, driver_);
    return view.Run();
}

}  // namespace tessera
