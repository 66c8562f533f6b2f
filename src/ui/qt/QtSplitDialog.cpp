// The settings dialog in a window, as the split command's dialog when the
// host shows windows.
#include "access/AlertByKey.h"
#include "access/Host.h"
#include "ui/AcceptedOutputs.h"
#include "ui/SplitDialog.h"
#include "ui/SplitSettingsDialog.h"
#include "ui/qt/QtDialogView.h"

namespace tessera {
namespace {

class QtSplitDialog : public SplitDialog {
public:
    // The window reads and keeps the remembered settings itself.
    bool Run(SplitSettings& working, OutputList& accepted, unsigned pageCount,
             const DocumentHandle& document) override {
        host::CommandLineServices& commandLine = *Host().commandLine;
        SplitSettingsDialog dialog(document, static_cast<int>(pageCount), {.remembersSettings = true});
        QtDialogView view(dialog);
        const std::string image = commandLine.ScreenshotPath();
        if (!image.empty()) {
            const bool saved = view.SaveImage(image);
            if (!saved) AlertByKey("IDS_SCREENSHOT_NOT_WRITTEN");
            commandLine.ReportOutcome(saved ? host::RunOutcome::Done : host::RunOutcome::Failed);
            return false;
        }
        if (!view.Run()) {
            commandLine.ReportOutcome(host::RunOutcome::Cancelled);
            return false;
        }
        working = dialog.Fields();
        accepted = Accepted().list;
        return true;
    }
};

}  // namespace

SplitDialog& WindowSplitDialog() {
    static QtSplitDialog dialog;
    return dialog;
}

}  // namespace tessera
