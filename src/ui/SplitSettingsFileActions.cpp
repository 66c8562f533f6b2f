// The settings dialog's steps that reach outside it: sub-dialogs for the
// separator and the name area, the output folder, help and profiles.
#include <cstdlib>

#include "access/HelpFile.h"
#include "access/Host.h"
#include "access/ProfileFile.h"
#include "strings/LanguageTable.h"
#include "strings/Utf8Text.h"
#include "ui/NameTemplateDialog.h"
#include "ui/OutputFolder.h"
#include "ui/SeparatorKindDialogs.h"
#include "ui/SplitSettingsDialog.h"
#include "ui/TextAreaDialog.h"

namespace tessera {
namespace {

const FileChoice kProfileChoice{"Tessera Profiles (*.tpr)|*.tpr; *.tpr|All Files (*.*)|*.*||", "", ""};

}  // namespace

void SplitSettingsDialog::SeparatorOptions() {
    const std::optional<int> chosen = view_->SelectedListData(kSeparatorList);
    if (!chosen) return;
    const SeparatorKind kind = static_cast<SeparatorKind>(*chosen);
    const bool readsFields = SeparatorDialogReadsFields(kind);
    if (readsFields) ReadFields();
    EditSeparatorKind(kind, *view_, fields_.Output, document_.HasDocument() ? &document_ : nullptr);
    if (readsFields) Refresh();
}

void SplitSettingsDialog::NameArea() {
    ReadFields();
    FilenameSettings& naming = fields_.Filename;
    if (naming.FileNameConstructionMode == NameConstructionMode::UseTemplate) {
        NameTemplateDialog dialog(naming.NameTemplate, naming.NamePattern, document_, fields_);
        if (view_->RunModal(dialog)) naming.NameTemplate = dialog.Template(), naming.NamePattern = dialog.Pattern();
        return Refresh();
    }
    TextAreaDialog dialog(naming.TextArea, "", kNameAreaMessage, document_.HasDocument() ? &document_ : nullptr,
                          fields_.Output.Ocr);
    if (view_->RunModal(dialog)) naming.TextArea = dialog.Result();
}

void SplitSettingsDialog::BrowseFolder() {
    ReadFields();
    const std::optional<std::string> chosen =
        view_->ChooseFolder(LookupString("IDS_OUTPUT_FOLDER_TITLE"), LookupString("IDS_SELECT_OUTPUT_FOLDER_C"),
                            fields_.Filename.OutputFolder);
    if (!chosen || chosen->empty() || ConfirmOutputFolder(*chosen, *view_) != FolderCheck::Valid) return;
    fields_.Filename.OutputFolder = chosen->back() == '/' ? *chosen : *chosen + "/";
    WriteFields();
    Refresh();
}

bool SplitSettingsDialog::TakeTypedFolder() {
    std::string folder = TrimText(fields_.Filename.OutputFolder);
    if (folder.empty()) return true;  // the settings check says that none is given
    const char* home = std::getenv("HOME");
    if ((folder == "~" || folder.starts_with("~/")) && home && *home) folder = home + folder.substr(1);
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (ConfirmOutputFolder(folder, *view_) != FolderCheck::Valid) return false;
    fields_.Filename.OutputFolder = folder == "/" ? folder : folder + "/";
    view_->SetText(kOutputFolderEdit, fields_.Filename.OutputFolder);
    return true;
}

void SplitSettingsDialog::OpenHelp() { OpenHelpFile(); }

void SplitSettingsDialog::SaveProfile() {
    ReadFields();
    KeepTreeAsList();
    // What the command line's --save-profile writes for the same fields.
    SplitSettings settings = SettingsForRun(fields_);
    settings.Outputs = memory_.accepted.list;
    FileChoice choice = kProfileChoice;
    choice.defaultExtension = "tpr";
    choice.proposedName = LookupString("IDS_DEFAULT");
    const std::optional<std::string> path = view_->ChooseFileToSave(choice);
    if (!path) return;
    if (const tessera::Result<> saved = SaveProfileFile(*path, settings); !saved) view_->ShowMessage(saved.Reason());
}

// A profile that cannot be read or is refused leaves the dialog as it was, and says why.
// It loads into initial settings, as `split --profile` does, so that one
// profile gives the same settings wherever it is loaded.
void SplitSettingsDialog::LoadProfile() {
    const std::optional<std::string> path = view_->ChooseFileToOpen(kProfileChoice);
    if (!path) return;
    SplitSettings loaded;
    if (const tessera::Result<> read = LoadProfileFile(*path, loaded); !read) return view_->ShowMessage(read.Reason());
    loaded.Security.Password = TrimText(loaded.Security.Password);
    loaded.Security.PermPassword = TrimText(loaded.Security.PermPassword);
    ApplySettings(loaded);
    Fill();
}

}  // namespace tessera
