#include "pdf/TemporaryOutput.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "host/HostError.h"
#include "support/TempFolder.h"

namespace tessera::pdf {
namespace {

namespace fs = std::filesystem;

TEST(TemporaryOutputTest, AFullDiskLeavesNeitherTheOutputNorTheTemporaryFile) {
    test::TempFolder folder;
    const std::string target = folder / (std::string(251, 'n') + ".pdf");  // a name of 255 bytes
    std::string message;
    {
        TemporaryOutput output(target);
        EXPECT_LE(fs::path(output.Path()).filename().string().size(), 24u);
        // Every byte written from now on meets a full device.
        const int full = ::open("/dev/full", O_WRONLY);
        ASSERT_GE(full, 0);
        ASSERT_GE(::dup2(full, output.Descriptor()), 0);
        ::close(full);
        try {
            output.Write("%PDF-1.7 and more");
            output.Commit();
        } catch (const host::HostError& error) {
            message = error.what();
        }
    }
    EXPECT_NE(message.find(target), std::string::npos) << message;
    EXPECT_NE(message.find("No space left on device"), std::string::npos) << message;
    EXPECT_TRUE(fs::is_empty(folder.Path())) << "no output and no temporary file";

    TemporaryOutput written(target);
    written.Write("whole");
    written.Commit();
    EXPECT_EQ(fs::file_size(target), 5u);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace tessera::pdf
