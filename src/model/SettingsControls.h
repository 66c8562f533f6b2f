#pragma once
// The numbers of the settings dialog's controls. The settings schema's rows
// name the control that shows each field, and the dialog, its views and the
// command line's messages find the controls by the same names.
namespace tessera {

enum SplitSettingsControl : int {
    kEqualPagesRadio = 1103,
    kPagesEachEdit = 1001,
    kBookmarksRadio = 1104,
    kStartLevelEdit = 1038,
    kEndLevelEdit = 1039,
    kManualRadio = 1106,
    kSeparatorRadio = 1105,
    kSeparatorList = 1102,
    kSeparatorOptionsButton = 1110,
    kLinearizeCheck = 1011,
    kUpdateLinksCheck = 1012,
    kRemoveLabelsCheck = 1013,
    kTransferBookmarksCheck = 1016,
    kHtmlIndexCheck = 1131,
    kKeepSeparatorsCheck = 1132,
    kDuplexCheck = 1133,
    kAllowOversizeCheck = 1134,
    kOcrLayerCheck = 1139,
    kOcrModeList = 1140,
    kOcrLanguagesEdit = 1141,
    kDocumentTree = 1020,
    kAddDocumentButton = 1021,
    kRemoveDocumentButton = 1004,
    kAddRangeButton = 1022,
    kEditRangeButton = 1024,
    kRemoveRangeButton = 1023,
    kRangeFromBookmarkButton = 1032,
    kTextSearchButton = 1033,
    kContentButton = 1087,
    kOutputFolderEdit = 1010,
    kBrowseButton = 1009,
    kPrefixList = 1096,
    kBaseNameEdit = 1019,
    kFoldersCheck = 1130,
    kNameModeList = 1026,
    kNameAreaButton = 1119,
    kNamingGroup = 1120,
    kProtectCheck = 1017,
    kPasswordEdit = 1018,
    kPermPasswordEdit = 1025,
    kCanEditCheck = 1027,
    kCanPrintCheck = 1028,
    kCanCopyCheck = 1029,
    kCanEditNotesCheck = 1031,
    kHelpButton = 1045,
    kLoadProfileButton = 1015,
    kSaveProfileButton = 1014,
    // Groups and the tree's menu commands, which have no numbers of their own.
    kMethodGroup = 5001,
    kOutputsGroup = 5002,
    kProcessingGroup = 5003,
    kSecurityGroup = 5004,
    kOcrGroup = 5005,
    kPropertiesCommand = 5101,
    kRemoveDocumentCommand = 5102,
    kRemoveAllCommand = 5103,
    kEditRangeCommand = 5104,
    kDeleteRangeCommand = 5105,
    // Under the buttons: why OK waits, while it does.
    kOkWaitsText = 5201,
    // The run-wide watermark's text; empty for none.
    kWatermarkEdit = 5202,
    // Not a control: the key the plan beside the dialog is made again under.
    kPlanDebounce = 5301,
};

}  // namespace tessera
