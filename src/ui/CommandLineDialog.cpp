#include "ui/CommandLineDialog.h"

#include "model/RegistrySettings.h"
#include "shell/Host.h"
#include "shell/OutputFolder.h"
#include "ui/SplitOptionTable.h"

namespace tessera {
namespace {

// The output folder as the folder browser would hand it over: without its trailing "/".
std::string BrowsedFolder(const std::string& folder) {
    return folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
}

}  // namespace

bool CommandLineDialog::Run(SplitSettings& working, OutputList& /*accepted*/, unsigned /*pageCount*/,
                            const DocumentHandle& /*document*/) {
    host::CommandLineServices& commandLine = *Host().commandLine;
    working = SplitSettings();
    if (commandLine.StartFromInitialSettings())
        working.Filename.OutputFolder = DefaultOutputFolder();
    else
        LoadSettingsFromRegistry(working);
    bool folderGiven = false;
    for (const host::OptionValue& option : commandLine.SplitOptions()) {
        std::string error;
        if (!ApplySplitOption(option, working, error)) {
            commandLine.ReportOutcome(host::RunOutcome::UsageError, error);
            return false;
        }
        folderGiven |= option.name == "output-folder";
    }
    if (folderGiven) {
        const int check = ConfirmOutputFolder(BrowsedFolder(working.Filename.OutputFolder));
        if (check != 0) {
            commandLine.ReportOutcome(check == FolderInvalid ? host::RunOutcome::UsageError : host::RunOutcome::Cancelled);
            return false;
        }
    }
    SaveSettingsToRegistry(working);
    return true;
}

SplitDialog& ActiveSplitDialog() {
    static CommandLineDialog dialog;
    return dialog;
}

}  // namespace tessera
