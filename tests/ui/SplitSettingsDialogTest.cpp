// The settings dialog as a user drives it, and the output folder it names.
#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "access/RegistrySettings.h"
#include "engine/OutputPlanner.h"
#include "model/SeparatorKindTable.h"
#include "model/SplitMethodTable.h"
#include "options/SplitOptionTable.h"
#include "support/Files.h"
#include "support/MemoryView.h"
#include "support/ScopedLanguageTable.h"
#include "ui/BookmarkPickerDialog.h"
#include "ui/DialogMemory.h"
#include "ui/OutputFolder.h"
#include "ui/PlanPreview.h"
#include "ui/SizeLimitFields.h"
#include "ui/SplitSettingsDialog.h"

namespace tessera {
namespace {

constexpr const char* kThreePages = "multicolumn-latex-2col.pdf";  // no bookmarks
constexpr const char* kWithBookmarks = "hyperref-manual-outline-gotor-launch-named.pdf";

class SplitSettingsDialogTest : public testing::Test {
protected:
    // What the dialogs remember while the host runs, shared by the dialogs a test opens.
    DialogMemory memory;

    // A dialog over a file of tests/data; with a list, applied first as a profile is.
    struct Opened {
        DocumentHandle document;
        SplitSettingsDialog dialog;
        MemoryView view;
        Opened(host::DocId doc, const OutputList* list, DialogMemory& memory)
            : document(doc, DocumentHandle::Ownership::Borrowed),
              dialog(document, document.PageCount(), {.remembersSettings = list == nullptr, .memory = &memory}),
              view(Applied(dialog, list)) {}
        static SplitSettingsDialog& Applied(SplitSettingsDialog& dialog, const OutputList* list) {
            if (list) {
                SplitSettings settings;
                settings.Outputs = *list;
                dialog.ApplySettings(settings);
            }
            return dialog;
        }
    };
    // Kept open until the test ends.
    Opened& Open(const std::string& name, const OutputList* list = nullptr) {
        return *opened_.emplace_back(std::make_unique<Opened>(host.OpenActive(name), list, memory));
    }

    test::TestHost host;
    test::ScopedLanguageTable texts{"IDS_DOCUMENT_D=Document %d",
                                    "IDS_NUM_PAGES_NEED_TO_BE_GREATER_THAN_ZERO=pages",
                                    "IDS_NO_OUTPUT_FOLDER_SPECIFIED=folder",
                                    "IDS_NO_PASSWORDS_PROVIDED=passwords",
                                    "IDS_CANT_SPLIT_BY_BOOKMARKS=no bookmarks",
                                    "IDS_NO_OUTPUT_DOCUMENTS=no documents",
                                    "IDS_WARNING_ONE_OR_MORE_PAGE_RANGE_IS_OUT_OF_BOUNDS=outside",
                                    "IDS_NO_TEXT_PATTERN_SPECIFIED=no pattern"};
    std::vector<std::unique_ptr<Opened>> opened_;
};

// A sub-dialog answered with OK as it opens.
bool AcceptAsOpened(Dialog& dialog) { return MemoryView(dialog).PressOk(); }

OutputList OneOutput(const std::string& name, PageRange range) { return {OutputDocument{{std::move(range)}, name}}; }

TEST_F(SplitSettingsDialogTest, EnablingFollowsTheMethodTheSelectionAndTheListsAndOkSaysEveryFailureAtOnce) {
    const struct {
        ControlId radio;
        std::vector<ControlId> enabled, disabled;
    } rows[] = {
        {kEqualPagesRadio,
         {kPagesEachEdit, kNameModeList, kOkButton},
         {kAddDocumentButton, kStartLevelEdit, kSeparatorList, kSeparatorOptionsButton, kFoldersCheck, kDocumentTree}},
        {kBookmarksRadio,
         {kStartLevelEdit, kEndLevelEdit, kFoldersCheck, kNameModeList, kOkButton},
         {kPagesEachEdit, kNameAreaButton, kAddDocumentButton}},
        {kManualRadio,
         {kAddDocumentButton, kDocumentTree},
         {kAddRangeButton, kRemoveDocumentButton, kEditRangeButton, kOkButton, kPagesEachEdit}},
        {kSeparatorRadio,
         {kSeparatorList, kSeparatorOptionsButton, kOkButton},
         {kPagesEachEdit, kAddDocumentButton, kStartLevelEdit}},
    };
    Opened& opened = Open(kWithBookmarks);
    MemoryView& view = opened.view;
    for (const auto& row : rows) {
        view.Click(row.radio);
        for (ControlId id : row.enabled) EXPECT_TRUE(view.Enabled(id)) << row.radio << " enables " << id;
        for (ControlId id : row.disabled) EXPECT_FALSE(view.Enabled(id)) << row.radio << " disables " << id;
    }
    // The separator list shows matching text first; blank pages have no options.
    EXPECT_EQ(view.SelectedListData(kSeparatorList), 2);
    view.Choose(kSeparatorList, 0);
    EXPECT_FALSE(view.Enabled(kSeparatorOptionsButton));
    view.Type(kPagesEachEdit, "0");
    EXPECT_TRUE(view.Enabled(kOkButton)) << "a separator split has no use for the pages per output";
    view.Click(kEqualPagesRadio);
    view.Choose(kNameModeList, 4);
    EXPECT_TRUE(view.Enabled(kNameAreaButton));
    view.Click(kBookmarksRadio);
    view.Choose(kNameModeList, 5);
    EXPECT_TRUE(view.Enabled(kNameAreaButton)) << "a template names bookmarks' outputs too";
    view.Click(kEqualPagesRadio);
    view.Choose(kNameModeList, 4);
    view.Click(kProtectCheck);
    EXPECT_EQ(view.Enabled(kPasswordEdit), view.Checked(kProtectCheck));

    view.Click(kManualRadio);
    view.Click(kAddDocumentButton);
    EXPECT_TRUE(view.Enabled(kAddRangeButton) && view.Enabled(kRemoveDocumentButton) &&
                view.Enabled(kRangeFromBookmarkButton));
    EXPECT_FALSE(view.Enabled(kOkButton)) << "one item is not enough";
    view.onModal = AcceptAsOpened;
    view.Click(kAddRangeButton);
    EXPECT_EQ(view.State(kDocumentTree).selected, (TreePath{0, 0}));
    EXPECT_TRUE(view.Enabled(kEditRangeButton) && view.Enabled(kRemoveRangeButton) && view.Enabled(kOkButton));
    EXPECT_FALSE(view.Enabled(kRemoveDocumentButton));

    view.Click(kEqualPagesRadio);
    view.Type(kPagesEachEdit, "0");
    view.SetText(kOutputFolderEdit, "");
    view.Type(kPasswordEdit, "   ");
    view.Type(kPermPasswordEdit, " \t");
    EXPECT_FALSE(view.Enabled(kOkButton));
    EXPECT_FALSE(opened.dialog.Accept());
    EXPECT_EQ(host.viewer.alerts, (std::vector<std::string>{"pages", "folder", "passwords"}));
    EXPECT_EQ(view.Text(kPasswordEdit) + view.Text(kPermPasswordEdit), "") << "blank passwords are trimmed to nothing";
}

TEST_F(SplitSettingsDialogTest, OnlyDocumentsWithRangesAreHandedOverAndOutsideRangesAreAWarning) {
    Opened& opened = Open(kThreePages);
    MemoryView& view = opened.view;
    view.Click(kManualRadio);
    view.Click(kAddDocumentButton);
    view.Click(kAddDocumentButton);
    EXPECT_EQ(view.State(kDocumentTree).tree.size(), 2u);
    EXPECT_EQ(view.State(kDocumentTree).tree[1].text, "Document 2");
    EXPECT_FALSE(view.Enabled(kOkButton));
    EXPECT_FALSE(opened.dialog.Accept()) << "documents without ranges make no output";
    EXPECT_EQ(std::exchange(host.viewer.alerts, {}), std::vector<std::string>{"no documents"});

    const OutputList outside = OneOutput("Tail", MakePageRange(1, 5));
    MemoryView& again = Open(kThreePages, &outside).view;
    EXPECT_EQ(again.State(kDocumentTree).tree[0].children[0].icon, kRangeOutsideIcon);
    host.windows.answer = true;
    again.Click(kAddDocumentButton);
    again.onModal = AcceptAsOpened;
    again.Click(kAddRangeButton);
    again.Click(kRemoveRangeButton);
    ASSERT_TRUE(again.PressOk());
    EXPECT_EQ(host.viewer.alerts, std::vector<std::string>{"outside"}) << "a warning, not a refusal";
    ASSERT_EQ(memory.accepted.list.size(), 1u) << "the document whose range was removed is left out";
    EXPECT_EQ(memory.accepted.list[0], outside[0]) << "named and ranged as it came";
}

TEST_F(SplitSettingsDialogTest, TheAcceptedListComesBackForTheSameFileOnly) {
    const OutputList list = OneOutput("", MakePageRange(0, 2));
    ASSERT_TRUE(Open(kThreePages, &list).view.PressOk());
    EXPECT_EQ(memory.accepted.list, list);
    EXPECT_EQ(Open(kThreePages).view.State(kDocumentTree).tree.size(), 1u);
    EXPECT_TRUE(Open(kWithBookmarks).view.State(kDocumentTree).tree.empty());
    for (char& c : memory.accepted.documentPath) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_TRUE(Open(kThreePages).view.State(kDocumentTree).tree.empty()) << "another file on this file system";
}

TEST_F(SplitSettingsDialogTest, TypingAndClickingAsAUserDoes) {
    MemoryView& view = Open(kThreePages).view;
    view.Type(kBaseNameEdit, "Q3:report?v1.0 [é]");
    EXPECT_EQ(view.Text(kBaseNameEdit), "Q3_report_v1_0 _é_");
    view.Click(kBookmarksRadio);
    view.Click(kBookmarksRadio);
    EXPECT_EQ(host.viewer.alerts, (std::vector<std::string>{"no bookmarks", "no bookmarks"}));
    EXPECT_FALSE(view.Enabled(kOkButton));
    view.Type(kPagesEachEdit, "7");
    view.PressCancel();
    SplitSettings stored;
    LoadSettingsFromRegistry(stored);
    EXPECT_EQ(std::tuple(stored.SplitMode, stored.Output.NumEqualPages, stored.Filename.OutputBaseFilename),
              std::tuple(SplitMethod::BookmarkLevels, 7, "Q3_report_v1_0 _é_"))
        << "Cancel keeps the fields too";
}

// Each output's pages as the plan beside the dialog shows them.
std::vector<std::vector<int>> PlannedPages(const PlanPreview& plan) {
    std::vector<std::vector<int>> pages(plan.outputs.size());
    for (const PreviewPlace& shown : plan.places)
        if (shown.place.kind == host::PlaceKind::InOutput)
            pages[static_cast<std::size_t>(shown.place.output)].push_back(shown.place.page);
    return pages;
}

// The plan is made again once typing pauses, by the planner of a run; a
// refused setting says why in its place; a method that reads every page
// waits to be asked, and then drops the sheets with what made them so.
TEST_F(SplitSettingsDialogTest, ThePlanFollowsTheFieldsAndReadsEveryPageOnlyWhenAsked) {
    MemoryView& view = Open("mnras-guide-2col-rotated-page.pdf").view;
    view.Click(kEqualPagesRadio);
    view.Type(kPagesEachEdit, "3");
    EXPECT_EQ(view.waiting.size(), 1u) << "one plan for a burst of changes";
    view.RunWaiting();
    ASSERT_EQ(view.plans.size(), 2u) << "planning, then planned";
    const PlanPreview& plan = view.plans.back();
    ASSERT_EQ(plan.state, PlanPreview::State::Planned);
    EXPECT_EQ(PlannedPages(plan), (std::vector<std::vector<int>>{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10}}));
    std::string reason;
    const host::PageImage picture = plan.picture(10, 96, 124, reason);
    EXPECT_TRUE(picture.width > 0 && picture.width <= 96 && picture.height > 0 && picture.height <= 124);
    EXPECT_EQ(picture.rgb.size(), static_cast<std::size_t>(picture.width * picture.height * 3));
    view.Type(kPagesEachEdit, "0");
    view.RunWaiting();
    EXPECT_EQ(view.plans.back().state, PlanPreview::State::Refused);
    EXPECT_EQ(view.plans.back().message, "pages");
    EXPECT_TRUE(host.viewer.alerts.empty()) << "nothing said in message boxes while planning";

    MemoryView& scans = Open("scanned-invoices-payment-qr.pdf").view;
    scans.Click(kSeparatorRadio);
    scans.Choose(kSeparatorList, static_cast<int>(SeparatorKind::PageWithCode));
    scans.RunWaiting();
    ASSERT_EQ(scans.plans.back().state, PlanPreview::State::Waiting);
    const std::function<void()> planNow = scans.plans.back().planNow;
    planNow();
    EXPECT_EQ(host.viewer.progress.operations, 0) << "the host's progress window is the runs', not the plan's";
    const PlanPreview& codes = scans.plans.back();
    ASSERT_EQ(codes.state, PlanPreview::State::Planned);
    EXPECT_EQ(PlannedPages(codes), (std::vector<std::vector<int>>{{2, 3}, {5}, {7, 8}}));
    std::vector<std::string> dropped;
    for (const PreviewPlace& shown : codes.places)
        if (shown.place.kind == host::PlaceKind::Dropped)
            dropped.push_back(std::to_string(shown.place.page) + " " + shown.why);
    EXPECT_EQ(dropped, (std::vector<std::string>{"1 separator (code): INV-1001", "4 separator (code): INV-1002",
                                                 "6 separator (code): INV-1003"}));
}

// A click between two pages of the plan cuts an output there, or joins two;
// the first makes the plan the hand-made list where the user agrees, its
// outputs keeping their names, and the list is what OK hands over.
TEST_F(SplitSettingsDialogTest, CutsByHandMakeThePlanTheHandMadeListKeepingItsNames) {
    using Pages = std::vector<std::vector<int>>;
    MemoryView& view = Open("mnras-guide-2col-rotated-page.pdf").view;
    view.Click(kEqualPagesRadio);
    view.Type(kPagesEachEdit, "5");
    view.RunWaiting();
    view.plans.back().toggleCut(2);
    EXPECT_TRUE(view.Checked(kEqualPagesRadio)) << "no changes nothing";
    host.windows.answer = true;
    view.plans.back().toggleCut(2);
    EXPECT_TRUE(view.Checked(kManualRadio));
    view.RunWaiting();
    EXPECT_EQ(PlannedPages(view.plans.back()), (Pages{{1, 2, 3}, {4, 5}, {6, 7, 8, 9, 10}}));
    view.plans.back().toggleCut(4);
    view.RunWaiting();
    EXPECT_EQ(PlannedPages(view.plans.back()), (Pages{{1, 2, 3}, {4, 5, 6, 7, 8, 9, 10}}));
    EXPECT_EQ(host.windows.questions.size(), 2u) << "asked until agreed, then not again";
    view.plans.back().rename(1, "Rest");
    view.RunWaiting();
    EXPECT_EQ(view.plans.back().outputs[1].file.find("REST.pdf") + 8, view.plans.back().outputs[1].file.size());
    ASSERT_TRUE(view.PressOk());

    // Outputs named by their bookmarks keep their names; only the cut one's second part is new.
    MemoryView& chapters = Open(kWithBookmarks).view;
    chapters.Click(kBookmarksRadio);
    chapters.RunWaiting();
    const PlanPreview before = chapters.plans.back();
    ASSERT_EQ(before.state, PlanPreview::State::Planned);
    std::size_t last = 0;  // the last page of the fifth output, which has several
    while (before.places[last + 1].place.output <= 4) ++last;
    before.toggleCut(last - 1);
    chapters.RunWaiting();
    const PlanPreview& after = chapters.plans.back();
    ASSERT_EQ(after.outputs.size(), before.outputs.size() + 1);
    for (std::size_t i = 0; i < before.outputs.size(); ++i)
        EXPECT_EQ(after.outputs[i < 5 ? i : i + 1].file, before.outputs[i].file) << i;
}

TEST_F(SplitSettingsDialogTest, ProfilesRoundTripLoadOverTheInitialSettingsAndARefusedOneChangesNothing) {
    const std::string path = host.folder / "Monthly.tpr";
    const OutputList list = OneOutput("Summary", MakePageRange(0, 2));
    MemoryView& view = Open(kThreePages, &list).view;
    view.onChooseFileToSave = view.onChooseFileToOpen = [&](const FileChoice&) { return std::optional(path); };
    view.Click(kManualRadio);
    view.Type(kBaseNameEdit, "Statement");
    view.Click(kHtmlIndexCheck);
    view.Click(kSaveProfileButton);
    EXPECT_NE(test::ReadFile(path).find("\"AllowAll\": false"), std::string::npos) << "as --save-profile writes it";
    view.Type(kBaseNameEdit, "Changed");
    view.Click(kHtmlIndexCheck);
    host.windows.answer = true;
    view.Click(kAddDocumentButton);
    view.Click(kLoadProfileButton);
    EXPECT_EQ(view.Text(kBaseNameEdit), "Statement");
    EXPECT_TRUE(view.Checked(kHtmlIndexCheck));
    ASSERT_EQ(view.State(kDocumentTree).tree.size(), 1u);
    EXPECT_EQ(view.State(kDocumentTree).tree[0].text, "Summary");

    // What a profile leaves out takes the initial value, as in `split
    // --profile`, not what the window held.
    std::ofstream(path) << R"({"SplitMode": 0, "Settings": {"SecuritySettings": {}}})";
    view.Type(kPagesEachEdit, "5");
    view.Click(kLoadProfileButton);
    EXPECT_EQ(view.Text(kPagesEachEdit), std::to_string(SplitSettings().Output.NumEqualPages));
    EXPECT_FALSE(view.Checked(kHtmlIndexCheck));

    std::ofstream(path) << "{\"SplitSettings\": 3";
    view.Type(kBaseNameEdit, "Kept");
    const std::size_t documents = view.State(kDocumentTree).tree.size();
    view.Click(kLoadProfileButton);
    ASSERT_EQ(host.viewer.alerts.size(), 1u) << "a refused profile says why";
    EXPECT_EQ(view.Text(kBaseNameEdit), "Kept");
    EXPECT_EQ(view.State(kDocumentTree).tree.size(), documents);
}

TEST_F(SplitSettingsDialogTest, AutomaticNamesCountOnlyWhenANamedDocumentTakesOne) {
    const OutputList named = OneOutput("Alpha", MakePageRange(0, 1));
    MemoryView& view = Open(kThreePages, &named).view;
    view.Click(kManualRadio);
    view.Click(kAddDocumentButton);
    view.onModal = [](Dialog& properties) {  // the document's options, answered "automatic name"
        MemoryView sub(properties);
        sub.Click(1111);
        return sub.PressOk();
    };
    for (int twice = 0; twice < 2; ++twice) {
        view.SelectTreeItem(kDocumentTree, {0});
        view.Activate(kDocumentTree);
    }
    view.Click(kAddDocumentButton);
    std::vector<std::string> labels;
    for (const TreeNode& node : view.State(kDocumentTree).tree) labels.push_back(node.text);
    EXPECT_EQ(labels, (std::vector<std::string>{"Document 2", "Document 1", "Document 3"}));
}

TEST_F(SplitSettingsDialogTest, ARangeFromABookmarkIsTheRangeItsBookmarkSplitGives) {
    Opened& opened = Open(kWithBookmarks);
    MemoryView& view = opened.view;
    view.Click(kManualRadio);
    view.Click(kAddDocumentButton);
    view.onModal = [](Dialog& dialog) {
        MemoryView picker(dialog);
        picker.SelectTreeItem(1036, {1});
        picker.Activate(1036);
        return picker.Closed();
    };
    view.Click(kRangeFromBookmarkButton);
    ASSERT_TRUE(view.PressOk());
    ASSERT_EQ(memory.accepted.list.size(), 1u);
    const PageRange& range = memory.accepted.list[0].Ranges.at(0);
    const PageRange expected = PlanBookmarkLevels(opened.document, 1, 1)->at(1).Ranges.at(0);
    EXPECT_EQ(std::pair(range.FirstPage, range.LastPage), std::pair(expected.FirstPage, expected.LastPage));
    EXPECT_TRUE(range.SubTitle.starts_with("From Bookmark \"") && range.SubTitle.ends_with("\", ")) << range.SubTitle;
}

// A folder still to be made must be an absolute path of valid names; one that
// exists is taken as it is.
// A method is one row: each must have a planner, an option of its own, a
// radio the dialog shows.
// A size in its unit: the size method's, or a limit on another method while
// its box is checked; the method waits for a size it can read.
TEST_F(SplitSettingsDialogTest, ASizeIsTypedInItsUnitForTheSizeMethodOrAsALimitOnAnother) {
    MemoryView& view = Open(kThreePages).view;
    view.Click(kSizeRadio);
    EXPECT_FALSE(view.Enabled(kOkButton)) << "no size yet";
    EXPECT_FALSE(view.Enabled(kSizeLimitCheck));
    view.Type(kSizeEdit, "9.5");
    view.Choose(kSizeUnitList, 4);  // MiB
    EXPECT_TRUE(view.Enabled(kOkButton));
    view.Click(kEqualPagesRadio);
    EXPECT_FALSE(view.Enabled(kSizeEdit)) << "another method without a limit";
    view.Click(kSizeLimitCheck);
    view.Type(kSizeEdit, "500");
    view.Choose(kSizeUnitList, 1);  // kB
    ASSERT_TRUE(view.PressOk());
    SplitSettings stored;
    LoadSettingsFromRegistry(stored);
    EXPECT_EQ(std::tuple(stored.SplitMode, stored.Output.MaxOutputBytes), std::tuple(SplitMethod::EqualPages, 500000));
    // Each unit is worth what the command line takes it for: bytes plain, MiB as 1024 * 1024.
    for (const auto& [unit, typed, bytes] : {std::tuple{0, "5000", 5000}, {4, "9.5", 9961472}}) {
        MemoryView& again = Open(kThreePages).view;
        again.Click(kSizeRadio);
        again.Type(kSizeEdit, typed);
        again.Choose(kSizeUnitList, unit);
        ASSERT_TRUE(again.PressOk()) << typed;
        LoadSettingsFromRegistry(stored);
        EXPECT_EQ(stored.Output.MaxOutputBytes, bytes) << typed;
    }
}

TEST(SplitMethodRowsTest, EveryRowHasItsPlannerOptionAndRadio) {
    std::set<std::string> options;
    const std::vector<ControlSpec> controls = SplitSettingsDialog(DocumentHandle(), 0, {}).Controls();
    const std::vector<host::OptionSpec> commandLine = SplitOptionSpecs();
    for (const SplitMethodRow& row : SplitMethodRows()) {
        EXPECT_TRUE(HasPlanner(row.method)) << row.option;
        EXPECT_TRUE(options.insert(row.option).second) << row.option;
        EXPECT_EQ(FindMethodRowByRadio(row.radio), &row) << row.option;
        EXPECT_TRUE(std::ranges::any_of(controls, [&](const ControlSpec& c) {
            return c.id == row.radio && c.kind == ControlKind::Radio;
        })) << row.option;
        EXPECT_TRUE(std::ranges::any_of(commandLine, [&](const host::OptionSpec& o) { return o.name == row.option; }));
    }
}

// Each kind is chosen by every form its row lists, and the list of forms a
// refusal gives is the rows' own.
TEST(SeparatorKindRowsTest, EveryKindIsChosenByEachOfItsForms) {
    const std::map<std::string, std::string> samples = {
        {"PATTERN", "Total"}, {"SENSITIVITY", "40"}, {"WHAT", "label"}, {"REGEX", "^BOX"}, {"COLOUR", "yellow"}};
    std::set<std::string> words;
    for (std::size_t i = 0; i < SeparatorKindRows().size(); ++i) {
        const SeparatorKindRow& row = SeparatorKindRows()[i];
        SCOPED_TRACE(row.word);
        EXPECT_EQ(static_cast<std::size_t>(row.kind), i) << "rows in the order of their stored integers";
        EXPECT_TRUE(words.insert(row.word).second);
        std::istringstream forms(row.forms);
        for (std::string form; std::getline(forms >> std::ws, form, ',');) {
            const std::size_t equals = form.find('=');
            const std::string value =
                equals == std::string::npos ? form : form.substr(0, equals + 1) + samples.at(form.substr(equals + 1));
            SplitSettings settings;
            OptionTargets fields{settings, {}, {}, {}};
            ASSERT_TRUE(ApplySplitOption({"separator", value}, fields)) << value;
            EXPECT_EQ(settings.Output.SeparatorType, row.kind) << value;
        }
    }
    SplitSettings settings;
    OptionTargets fields{settings, {}, {}, {}};
    const Result<> refused = ApplySplitOption({"separator", "dots"}, fields);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.Reason().find(SeparatorForms()), std::string::npos) << refused.Reason();
}

TEST(OutputFolderTest, NewFoldersFollowTheNameRuleAndExistingOnesAreTakenAsTheyAre) {
    test::TestHost host;
    const struct {
        std::string path;
        bool valid;
    } cases[] = {
        {"/", true},
        {"/home/me/out", true},
        {"/home/me/out.v2", true},
        {"", false},
        {"relative/out", false},
        {"/home/me/", false},
        {"//server/share", false},
        {"/home//me", false},
        {"/home/ me", false},
        {"/home/me.", false},
        {"/home/a:b", false},
        {"/home/a\\b", false},
        {host.folder / ".cache/a:b", true},
        {host.folder / ".cache/a:b/out", true},
        {host.folder / ".cache/x:y/out", false},
        {host.folder / ".cache//out", false},
        {host.folder / ".cache/", false},
    };
    std::filesystem::create_directories(host.folder / ".cache/a:b");
    for (const auto& c : cases) EXPECT_EQ(IsValidFolderPath(c.path), c.valid) << c.path;
    for (const char* good : {"Reports 2026", "a.b"}) EXPECT_TRUE(IsValidFolderName(good)) << good;
    for (const char* bad : {"", " a", "a ", "\ta", ".a", "a.", "a*b", "a?b", "a<b", "a>b", "a|b", "a\"b", "a/b"})
        EXPECT_FALSE(IsValidFolderName(bad)) << bad;
}

TEST(OutputFolderTest, AsksBeforeCreatingCreatesNothingOnNoAndSaysWhyOneCannotBeMade) {
    test::TestHost host;
    HostQuestions ask;
    const std::string folder = host.folder / "new/deeper";
    EXPECT_EQ(ConfirmOutputFolder(folder, ask), FolderCheck::Declined);
    ASSERT_EQ(host.windows.questions.size(), 1u);
    EXPECT_NE(host.windows.questions[0].find("does not exist"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(host.folder / "new"));

    host.windows.answer = true;
    EXPECT_EQ(ConfirmOutputFolder(folder, ask), FolderCheck::Valid);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(ConfirmOutputFolder(folder, ask), FolderCheck::Valid) << "an existing folder is fine";
    EXPECT_EQ(host.windows.questions.size(), 2u);

    EXPECT_EQ(ConfirmOutputFolder(host.folder / "bad ", ask), FolderCheck::Invalid);
    ASSERT_EQ(host.windows.messages.size(), 1u);
    EXPECT_NE(host.windows.messages[0].find("is invalid. Please reenter."), std::string::npos);

    std::ofstream(host.folder / "file") << "not a folder";
    EXPECT_EQ(ConfirmOutputFolder(host.folder / "file", ask), FolderCheck::NotCreated);
    EXPECT_EQ(ConfirmOutputFolder(host.folder / "file/out", ask), FolderCheck::NotCreated);
    ASSERT_EQ(host.windows.messages.size(), 3u);
    for (const std::string& message : {host.windows.messages[1], host.windows.messages[2]})
        EXPECT_TRUE(message.find("can not be created") != std::string::npos &&
                    message.find("Not a directory") != std::string::npos)
            << message;
}

}  // namespace
}  // namespace tessera
