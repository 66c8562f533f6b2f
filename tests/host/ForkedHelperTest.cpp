// A helper process answers requests while its parent works on: it has what
// its parent had when it was made, not what the parent does after, what it
// shows comes with its answer, and a request it cannot answer is said to be
// unanswered, without what it showed.
#include "workers/ForkedWorkers.h"

namespace tessera::app {
namespace {

TEST(ForkedHelperTest, AnswersFromItsOwnCopyShowsNothingAndSaysWhenItCannot) {
    ConsoleViewer viewer;
    ForkedWorkers workers(viewer);
    std::string state = "before";
    auto helper = workers.StartHelper([&](const std::string& request) -> std::string {
        viewer.Alert("helping with " + request);
        if (request == "throw") throw std::runtime_error("no answer");
        if (request == "big") return std::string(3 << 20, 'x');  // more than a socket holds at once
        return request + " " + state;
    });
    ASSERT_TRUE(helper);
    state = "after";
    testing::internal::CaptureStderr();
    ASSERT_TRUE(helper->Ask("one"));
    EXPECT_EQ(helper->Answer(), "one before");
    ASSERT_TRUE(helper->Ask("throw"));
    EXPECT_EQ(helper->Answer(), std::nullopt);
    ASSERT_TRUE(helper->Ask("big"));
    EXPECT_EQ(helper->Answer().value_or("").size(), 3u << 20);
    ASSERT_TRUE(helper->Ask("two"));
    EXPECT_EQ(helper->Answer(), "two before");
    helper.reset();  // ends and waits for the helper
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tessera: helping with one\ntessera: helping with big\ntessera: helping with two\n");
}

}  // namespace
}  // namespace tessera::app
