// The window's route to a split: a profile loaded with Load Profile... and OK
// pressed must write what the command line writes from that profile, for
// every case the other routes are held to (the end-to-end RoutesTest).
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>

#include "shell/PlugInSession.h"
#include "shell/SplitCommand.h"
#include "support/Files.h"
#include "support/PdfProbe.h"
#include "support/RouteCases.h"
#include "support/RunCommand.h"
#include "support/TestHost.h"
#include "ui/SplitSettingsDialog.h"
#include "ui/qt/QtDialogView.h"
#include "ui/qt/QtWindowFactory.h"

namespace tessera {
namespace {

// Answers the file dialog about to open with `path`, as a user picks it.
void AnswerFileDialog(const std::string& path) {
    QTimer::singleShot(50, [path] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return AnswerFileDialog(path);
        // Typed, as the file list fills in a thread of its own and a selection may not be taken yet.
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(path));
        static_cast<QDialog*>(dialog)->accept();  // as Open does: QFileDialog hides it
    });
}

// tessera itself, with its settings in `config`.
test::CommandResult Tessera(const test::TempFolder& config, const std::string& arguments) {
    return test::RunCommand("XDG_CONFIG_HOME=" + test::ShellQuote(config.Path()) +
                            " HOME=" + test::ShellQuote(config.Path()) + " " + test::ShellQuote(TESSERA_EXE) + " " +
                            arguments + " 2>&1");
}

TEST(WindowRoutesTest, ALoadedProfileSplitsInTheWindowAsOnTheCommandLine) {
    test::TestHost host;
    Session().dialogs = {};
    std::string loaded;
    HandWindows(std::make_unique<QtWindowFactory>([&](QtDialogView& view) {
        AnswerFileDialog(loaded);
        QTest::mouseClick(view.Widget(kLoadProfileButton), Qt::LeftButton);
        QTest::mouseClick(view.Widget(kOkButton), Qt::LeftButton);
        if (view.isVisible()) view.reject();
    }));
    host.commandLine.SetWindows(true);
    for (const test::RouteCase& c : test::RouteCases()) {
        SCOPED_TRACE(c.name);
        test::TempFolder config, window, options;
        const std::string input = test::DataFile(c.input);
        loaded = config / "case.tpr";
        ASSERT_EQ(Tessera(config, "split --reset --save-profile " + test::ShellQuote(loaded) + " -o " +
                                      test::ShellQuote(window.Path()) + " --prefix none " + c.options + " " +
                                      test::ShellQuote(input))
                      .status,
                  0);
        host.OpenActive(input);
        SplitCommand();
        const test::CommandResult split =
            Tessera(config, "split --quiet --warning-exit-0 --profile " + test::ShellQuote(loaded) + " -o " +
                                test::ShellQuote(options.Path()) + " " + test::ShellQuote(input));
        EXPECT_EQ(split.status, 0) << split.output;
        const std::vector<std::string> names = test::NamesIn(options.Path());
        EXPECT_FALSE(names.empty());
        EXPECT_EQ(test::NamesIn(window.Path()), names);
        for (const std::string& name : names)
            EXPECT_EQ(test::PageTexts(window / name), test::PageTexts(options / name)) << name;
    }
    HandWindows(nullptr);
}

}  // namespace
}  // namespace tessera
