// What a quiet command-line run shows of the plug-in's alerts once it ends.
#include "viewer/ConsoleViewer.h"

namespace tessera::app {
namespace {

TEST(ConsoleViewerTest, AQuietRunLeavesOutTheReportsByKindNotByPlace) {
    const struct {
        ConsoleViewer::Held show;
        const char* shown;
    } cases[] = {
        {ConsoleViewer::Held::AllButReport, "tessera: before\ntessera: after\n"},
        {ConsoleViewer::Held::All, "tessera: before\ntessera: done\ntessera: after\n"},
    };
    for (const auto& c : cases) {
        ConsoleViewer viewer;
        viewer.SetQuiet(true);
        viewer.Alert("before");
        viewer.AlertReport("done");
        viewer.Alert("after");  // a message after the report is no report
        testing::internal::CaptureStderr();
        viewer.ReleaseAlerts(c.show);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.shown);
    }
}

}  // namespace
}  // namespace tessera::app
