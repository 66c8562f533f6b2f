#include "app/ConsoleWindows.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

#include "support/TempFolder.h"

namespace tessera::app {
namespace {

// Sets an environment variable for one scope and puts the old value back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (old_) ::setenv(name_, old_->c_str(), 1);
        else ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// The desktop's opener gets the path as one argument, however the name is
// spelled: quotes, blanks and what a shell would expand pass through as they are.
TEST(ConsoleWindowsTest, TheOpenerGetsThePathAsItIs) {
    test::TempFolder folder;
    const std::string file = folder / "it's $(echo no) `x` a b.htm";
    std::ofstream(file) << "help";
    const std::string opener = folder / "xdg-open";
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"$(dirname \"$0\")/argument\"\necho noise\n";
    ASSERT_EQ(::chmod(opener.c_str(), 0755), 0);
    ScopedEnvironment path("PATH", folder.Path() + ":/usr/bin:/bin");
    ScopedEnvironment display("DISPLAY", ":0");
    ConsoleWindows windows;
    testing::internal::CaptureStdout();
    EXPECT_TRUE(windows.OpenWithShell(file));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "the opener's own output is silenced";
    std::stringstream argument;
    argument << std::ifstream(folder / "argument").rdbuf();
    EXPECT_EQ(argument.str(), "1|" + file);
}

}  // namespace
}  // namespace tessera::app
