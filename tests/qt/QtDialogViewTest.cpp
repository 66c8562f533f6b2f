// The settings dialog's window driven through its widgets, against the same
// acts in the in-memory view: the window must show what the logic says.
#include "ui/qt/QtDialogView.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iostream>
#include <sstream>

#include "shell/SplitCommand.h"
#include "support/PdfProbe.h"
#include "support/ScopedEnvironment.h"
#include "support/TestHost.h"
#include "ui/AcceptedOutputs.h"
#include "ui/MemoryView.h"
#include "ui/PageRangeDialog.h"
#include "ui/SplitSettingsDialog.h"

namespace tessera {
namespace {

constexpr const char* kThreePages = "multicolumn-latex-2col.pdf";
// Outputs of two pages; everything else is left out.
constexpr const char* kTwoPagesProfile =
    R"({"SplitMode": 0, "Settings": {"SecuritySettings": {}, "FilenameSettings": {},)"
    R"( "OutputSettings": {"EqualPagesNumber": 2}}})";

void Click(QtDialogView& view, ControlId id) {
    QWidget* widget = view.Widget(id);
    ASSERT_NE(widget, nullptr) << id;
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

void Type(QtDialogView& view, ControlId id, const char* text) {
    auto* edit = qobject_cast<QLineEdit*>(view.Widget(id));
    ASSERT_NE(edit, nullptr) << id;
    edit->selectAll();
    QTest::keyClicks(edit, text);

}

std::vector<std::string> TreeTexts(const QTreeWidgetItem* item) {
    std::vector<std::string> texts{item->text(0).toStdString()};
    for (int i = 0; i < item->childCount(); ++i)
        for (const std::string& text : TreeTexts(item->child(i))) texts.push_back("  " + text);
    return texts;
}

std::vector<std::string> TreeTexts(const TreeNode& node) {
    std::vector<std::string> texts{node.text};
    for (const TreeNode& child : node.children)
        for (const std::string& text : TreeTexts(child)) texts.push_back("  " + text);
    return texts;
}

class QtDialogViewTest : public testing::Test {
protected:
    void SetUp() override { Accepted() = {}; }
    void TearDown() override {
        QtDialogView::onRun = nullptr;
        QtDialogView::answerFileChoice = nullptr;
    }

    // The settings dialog over the three-page document, in a window shown
    // offscreen or in memory.
    template <typename View>
    struct Opened {
        DocumentHandle document;
        SplitSettingsDialog dialog;
        View view;
        explicit Opened(host::DocId doc)
            : document(doc, DocumentHandle::Ownership::Borrowed),
              dialog(document, document.PageCount(), {.remembersSettings = false}),
              view(dialog) {}
    };
    std::unique_ptr<Opened<QtDialogView>> Open() {
        auto window = std::make_unique<Opened<QtDialogView>>(host.OpenActive(kThreePages));
        window->view.show();
        QApplication::processEvents();
        return window;
    }
    std::unique_ptr<Opened<MemoryView>> OpenInMemory() {
        return std::make_unique<Opened<MemoryView>>(host.OpenActive(kThreePages));
    }

    test::TestHost host;
};

TEST_F(QtDialogViewTest, ChoosingAMethodEnablesWhatTheLogicSays) {
    auto window = Open();
    auto memory = OpenInMemory();
    for (ControlId method : {kManualRadio, kBookmarksRadio, kSeparatorRadio, kEqualPagesRadio}) {
        Click(window->view, method);
        memory->view.Click(method);
        for (const ControlSpec& spec : window->dialog.Controls()) {
            if (spec.id == 0) continue;
            EXPECT_EQ(window->view.Enabled(spec.id), memory->view.Enabled(spec.id)) << method << ": " << spec.id;
            EXPECT_EQ(window->view.Checked(spec.id), memory->view.Checked(spec.id)) << method << ": " << spec.id;
        }
    }
}

// Needs the real page-range dialog: its start and last page edits and OK.
TEST_F(QtDialogViewTest, ADocumentAndAPageRangeFromItsDialogFillTheTree) {
    // The page-range dialog's start and last page edits.
    constexpr ControlId kStartPage = 1005, kLastPage = 1006;
    auto window = Open();
    auto memory = OpenInMemory();
    Click(window->view, kManualRadio);
    memory->view.Click(kManualRadio);
    Click(window->view, kAddDocumentButton);
    memory->view.Click(kAddDocumentButton);
    QtDialogView::onRun = [&](QtDialogView& child) {
        if (!dynamic_cast<PageRangeDialog*>(&child.Shown())) return;
        Type(child, kStartPage, "2");
        Type(child, kLastPage, "3");
        Click(child, kOkButton);
        if (child.isVisible()) child.reject();  // a failure above must not leave the test waiting
    };
    memory->view.onModal = [&](Dialog& dialog) {
        MemoryView child(dialog);
        child.Type(kStartPage, "2");
        child.Type(kLastPage, "3");
        return child.PressOk();
    };
    Click(window->view, kAddRangeButton);
    memory->view.Click(kAddRangeButton);

    auto* tree = qobject_cast<QTreeWidget*>(window->view.Widget(kDocumentTree));
    const std::vector<TreeNode>& expected = memory->view.State(kDocumentTree).tree;
    ASSERT_EQ(tree->topLevelItemCount(), static_cast<int>(expected.size()));
    ASSERT_EQ(tree->topLevelItem(0)->childCount(), 1) << "the range is in the document";
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(TreeTexts(tree->topLevelItem(static_cast<int>(i))), TreeTexts(expected[i]));
}

TEST_F(QtDialogViewTest, OkWithBadFieldsShowsTheMessagesAndStaysOpen) {
    auto memory = OpenInMemory();
    memory->view.Click(kSeparatorRadio);
    memory->view.Click(kProtectCheck);
    ASSERT_FALSE(memory->view.PressOk());
    const std::vector<std::string> expected = host.viewer.alerts;
    ASSERT_EQ(expected.size(), 2u) << "no pattern to search for, no password";
    host.viewer.alerts.clear();

    auto window = Open();
    Click(window->view, kSeparatorRadio);
    Click(window->view, kProtectCheck);
    Click(window->view, kOkButton);
    EXPECT_EQ(host.viewer.alerts, expected);
    EXPECT_TRUE(window->view.isVisible());
    EXPECT_NE(window->view.result(), QDialog::Accepted);
}

TEST_F(QtDialogViewTest, AProfileSavedAndLoadedThroughTheFileChoicesRoundTrips) {
    const std::string path = host.folder / "chapters.tpr";
    QtDialogView::answerFileChoice = [&](const std::string&) { return std::optional<std::string>(path); };
    {
        auto window = Open();
        Click(window->view, kEqualPagesRadio);
        Type(window->view, kPagesEachEdit, "2");
        Type(window->view, kBaseNameEdit, "Chapter");
        Click(window->view, kHtmlIndexCheck);
        Click(window->view, kSaveProfileButton);
    }
    ASSERT_TRUE(std::filesystem::exists(path));
    std::stringstream saved;
    saved << std::ifstream(path).rdbuf();
    EXPECT_NE(saved.str().find("\"AllowAll\": false"), std::string::npos) << "as --save-profile writes it";
    auto window = Open();
    ASSERT_NE(window->view.Text(kBaseNameEdit), "Chapter");
    Click(window->view, kLoadProfileButton);
    EXPECT_EQ(window->view.Text(kPagesEachEdit), "2");
    EXPECT_EQ(window->view.Text(kBaseNameEdit), "Chapter");
    EXPECT_TRUE(window->view.Checked(kHtmlIndexCheck));
}

// A profile gives the same settings in the window as in `split --profile`:
// what it leaves out (here all but its security group) takes the initial
// value, not what the window held.
TEST_F(QtDialogViewTest, AProfileLoadsOverTheInitialSettings) {
    const std::string path = host.folder / "security.tpr";
    std::ofstream(path) << R"({"SplitMode": 0, "Settings": {"SecuritySettings": {}}})";
    QtDialogView::answerFileChoice = [&](const std::string&) { return std::optional<std::string>(path); };
    auto window = Open();
    Type(window->view, kPagesEachEdit, "5");
    Click(window->view, kHtmlIndexCheck);
    Click(window->view, kLoadProfileButton);
    EXPECT_EQ(window->view.Text(kPagesEachEdit), std::to_string(SplitSettings().Output.NumEqualPages));
    EXPECT_FALSE(window->view.Checked(kHtmlIndexCheck));
}

// `split FILE --gui --profile P --base B`: the window opens with what they say.
TEST_F(QtDialogViewTest, TheOptionsGivenWithTheWindowAreItsStartingValues) {
    const std::string path = host.folder / "pages.tpr";
    std::ofstream(path) << kTwoPagesProfile;
    host.OpenActive(kThreePages);
    host.commandLine.SetWindows(true);
    host.commandLine.SetValues({{"profile", path}, {"base", "Chapter"}, {"html-index", "1"}});
    std::string pages, base;
    bool index = false;
    QtDialogView::onRun = [&](QtDialogView& view) {
        pages = view.Text(kPagesEachEdit);
        base = view.Text(kBaseNameEdit);
        index = view.Checked(kHtmlIndexCheck);
        view.reject();
    };
    SplitCommand();
    EXPECT_EQ(pages, "2");
    EXPECT_EQ(base, "Chapter");
    EXPECT_TRUE(index);
}

TEST(QtFileFilterTest, NamesEachPatternOnce) {
    EXPECT_EQ(QtFileFilter("Tessera Profiles (*.tpr)|*.tpr; *.tpr|All Files (*.*)|*.*||").toStdString(),
              "Tessera Profiles (*.tpr);;All Files (*)");
}

// The split command run once through the window and once from options, each
// into its own default output folder.
// What a user does in the window to split into outputs of `pages` pages.
std::function<void(QtDialogView&)> SplitEvery(const char* pages) {
    return [pages](QtDialogView& view) {
        Click(view, kEqualPagesRadio);
        Type(view, kPagesEachEdit, pages);
        Click(view, kOkButton);
        if (view.isVisible()) view.reject();
    };
}

TEST_F(QtDialogViewTest, ASplitStartedFromTheWindowWritesWhatTheCommandLineWrites) {
    const std::string fromWindow = host.folder / "window", fromOptions = host.folder / "options";
    std::filesystem::create_directories(fromWindow);
    std::filesystem::create_directories(fromOptions);
    host.OpenActive(kThreePages);
    test::ScopedEnvironment environment;

    environment.Set("XDG_DOCUMENTS_DIR", fromWindow.c_str());
    host.commandLine.SetWindows(true);
    QtDialogView::onRun = SplitEvery("2");
    SplitCommand();

    environment.Set("XDG_DOCUMENTS_DIR", fromOptions.c_str());
    host.commandLine.SetWindows(false);
    host.commandLine.SetValues({{"equal", "2"}});
    SplitCommand();

    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(fromOptions)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), 2u) << "three pages, two each";
    for (const std::string& name : names) {
        ASSERT_TRUE(std::filesystem::exists(fromWindow + "/" + name)) << name;
        EXPECT_EQ(test::PageTexts(fromWindow + "/" + name), test::PageTexts(fromOptions + "/" + name)) << name;
    }
}

// Resident kilobytes of this process.
long ResidentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

long OpenDescriptors() {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator{});
}

// A desktop session opens and splits one document after another: what each
// split holds (documents, windows, word finders, files) is let go again.
TEST_F(QtDialogViewTest, ASessionOfFiftySplitsHoldsItsMemoryAndFiles) {
    test::ScopedEnvironment environment;
    environment.Set("XDG_DOCUMENTS_DIR", (host.folder / "out").c_str());
    std::filesystem::create_directories(host.folder / "out");
    host.commandLine.SetWindows(true);
    QtDialogView::onRun = SplitEvery("1");
    long settledKb = 0, settledFds = 0;
    for (int i = 1; i <= 50; ++i) {
        const host::DocId doc = host.OpenActive(kThreePages);
        SplitCommand();
        host.runtime.Store().Close(doc);
        QApplication::processEvents();
        if (i == 5) std::tie(settledKb, settledFds) = std::pair(ResidentKb(), OpenDescriptors());
    }
    EXPECT_EQ(host.viewer.alerts.size(), 50u) << "one report per split";
    EXPECT_EQ(OpenDescriptors(), settledFds);
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(ResidentKb() - settledKb, 8 * 1024) << "kB grown over 45 splits";
#endif
    std::cout << "resident after 5 splits " << settledKb << " kB, after 50 " << ResidentKb() << " kB; descriptors "
              << settledFds << " and " << OpenDescriptors() << std::endl;
}

}  // namespace
}  // namespace tessera
