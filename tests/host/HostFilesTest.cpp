// What the host leaves on disk and hands to the desktop: outputs that appear
// whole or not at all, a settings file only its owner can read, the user's
// folders, and paths passed to the desktop's opener as they are.
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <qpdf/Buffer.hh>
#include <qpdf/BufferInputSource.hh>

#include <random>

#include "pdf/file/CachedFileSource.h"
#include "pdf/file/TemporaryOutput.h"
#include "pdf/text/GlyphNameText.h"
#include "pdf/writing/OutputWriter.h"
#include "settings/UserFolders.h"
#include "support/Files.h"
#include "support/ScopedEnvironment.h"

namespace tessera {
namespace {

namespace fs = std::filesystem;
using test::ModeOf;

// A full device fails the write; a descriptor that is gone by the commit fails
// only the close, as NFS and some FUSE file systems report a lost write.
TEST(TemporaryOutputTest, AFailedWriteOrCloseLeavesNeitherTheOutputNorTheTemporaryFile) {
    test::TempFolder folder;
    const std::string target = folder / (std::string(251, 'n') + ".pdf");  // a name of 255 bytes
    for (const bool closeOnly : {false, true}) {
        SCOPED_TRACE(closeOnly ? "the close fails" : "the disk is full");
        std::string message;
        {
            pdf::TemporaryOutput output(target);
            EXPECT_LE(fs::path(output.Path()).filename().string().size(), 24u);
            output.Write(std::string(1 << 16, '%'));  // a whole buffer goes out at once
            const int full = ::open("/dev/full", O_WRONLY);
            ASSERT_EQ(::dup2(full, output.Descriptor()), output.Descriptor());
            ::close(full);
            EXPECT_EQ(closeOnly ? ::close(output.Descriptor()) : 0, 0);
            try {
                if (!closeOnly) output.Write("%PDF-1.7 and more");
                output.Commit();
            } catch (const host::HostError& error) {
                message = error.what();
            }
        }
        EXPECT_NE(message.find(target), std::string::npos) << message;
        EXPECT_NE(message.find(closeOnly ? "Bad file descriptor" : "No space left on device"), std::string::npos)
            << message;
        EXPECT_TRUE(fs::is_empty(folder.Path())) << "no output and no temporary file";
    }
    pdf::TemporaryOutput written(target);
    written.Write("whole");
    written.Commit();
    EXPECT_EQ(test::ReadFile(target), "whole");
    EXPECT_EQ(test::NamesIn(folder.Path()), std::vector<std::string>{fs::path(target).filename()});
    // The host's own guard of the size limit: a file one byte over it is refused and leaves nothing.
    const std::string limited = folder / "limited.pdf";
    EXPECT_THROW(pdf::WriteFile(std::string(1001, '%'), limited, 1000, {1}), host::HostError);
    EXPECT_FALSE(fs::exists(limited));
    pdf::WriteFile(std::string(1000, '%'), limited, 1000, {1});
    EXPECT_EQ(fs::file_size(limited), 1000u);
}

// Glyph names read as text: a name of one character, a ligature of them, a
// variant's suffix; a name of three words that none of those rules reads
// (an old-style digit) stays unread rather than becoming its first word.
TEST(GlyphNameTextTest, NamesReadAsTheirCharactersAndUnknownOnesStayUnread) {
    const std::pair<const char*, std::vector<int>> rows[] = {
        {"uni0030", {0x30}}, {"zero.oldstyle", {0x30}}, {"f_i", {'f', 'i'}}, {"DigitZeroOldstyle", {}}, {"xyzzy", {}}};
    for (const auto& [name, expected] : rows) {
        int out[8] = {};
        const std::size_t count = pdf::GlyphNameText(name, out, 8);
        EXPECT_EQ(std::vector<int>(out, out + count), expected) << name;
    }
}

const std::string kKey = "Tessera\\SplitSettings";

// Only the owner can read the stored passwords, and only what is ours is tightened;
// texts come back as they were written, line breaks and all.
// qpdf parses through whichever source it is given: the cached one must read,
// seek and find line ends exactly as qpdf's own in-memory source does, across
// block edges, runs of line ends and the end of the file.
TEST(CachedFileSourceTest, ReadsAsQpdfsOwnSourceWherePartsFallAcrossBlocks) {
    test::TempFolder folder;
    std::mt19937 random(7);
    std::string bytes(200'000, 'x');
    for (char& c : bytes) c = "ab\r\n"[random() % 4 == 0 ? 2 + random() % 2 : random() % 2];
    bytes.replace(65'530, 12, "\r\n\r\n\n\r\r\n\n\n\r\n");  // a run over the first block's end
    bytes.back() = '\n';
    const std::string path = folder / "source.bin";
    std::ofstream(path, std::ios::binary) << bytes;
    pdf::CachedFileSource cached(path);
    Buffer buffer(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size());
    BufferInputSource own("source.bin", &buffer);
    std::vector<char> a(100'000), b(100'000);
    for (int step = 0; step < 3000; ++step) {
        SCOPED_TRACE(step);
        const auto at = static_cast<qpdf_offset_t>(random() % (bytes.size() + 10));
        const int whence = step % 3 == 0 ? SEEK_END : SEEK_SET;
        const qpdf_offset_t offset = whence == SEEK_END ? -static_cast<qpdf_offset_t>(random() % 70'000) : at;
        cached.seek(offset, whence);
        own.seek(offset, whence);
        if (step % 2) {
            ASSERT_EQ(cached.findAndSkipNextEOL(), own.findAndSkipNextEOL());
        } else {
            const std::size_t length = step % 10 == 0 ? 70'000 + random() % 30'000 : random() % 300;
            const std::size_t n = cached.read(a.data(), length);
            ASSERT_EQ(n, own.read(b.data(), length));
            ASSERT_EQ(cached.getLastOffset(), own.getLastOffset());
            ASSERT_TRUE(std::equal(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(n), b.begin()));
        }
        ASSERT_EQ(cached.tell(), own.tell());
        cached.unreadCh('x');
        own.unreadCh('x');
        ASSERT_EQ(cached.tell(), own.tell());
    }
    EXPECT_THROW(pdf::CachedFileSource(folder / "missing.bin"), std::runtime_error);
}

TEST(SettingsFileTest, TextsRoundTripOnlyForTheOwnerAndNothingIsReadOrWrittenThroughWhatWasThere) {
    test::TempFolder temp;
    const std::string folder = temp / "config/Moraine", elsewhere = temp / "elsewhere";
    settings::SettingsFile file(folder);
    fs::create_directories(folder);
    ::chmod(folder.c_str(), 0777);  // as a careless umask left it
    std::ofstream(elsewhere) << "someone's file";
    ::chmod(elsewhere.c_str(), 0644);
    fs::create_symlink(elsewhere, file.FileOf(kKey));
    // The temporary name an older version used, taken in advance.
    fs::create_symlink(elsewhere, file.FileOf(kKey) + ".tmp" + std::to_string(::getpid()));
    file.ReadSection(kKey);
    const std::string text = "line one\nline \"two\"\r\n\\n is not a break";
    file.WriteSection(kKey, {{"TextSeparatorPattern", text}, {"NumEqualPages", std::uint32_t{3}}});
    EXPECT_EQ(ModeOf(elsewhere), 0644u) << "a link's target is not ours";
    EXPECT_EQ(ModeOf(folder), 0700u);
    EXPECT_EQ(test::ReadFile(elsewhere), "someone's file");
    const host::RegistrySection section = file.ReadSection(kKey);
    EXPECT_EQ(section.Text("TextSeparatorPattern"), text);
    EXPECT_EQ(section.Dword("NumEqualPages"), 3u) << "the next value is still read";
    EXPECT_EQ(ModeOf(file.FileOf(kKey)), 0600u);
    ::chmod(file.FileOf(kKey).c_str(), 0644);  // as an older version left it
    file.ReadSection(kKey);
    EXPECT_EQ(ModeOf(file.FileOf(kKey)), 0600u);

    fs::remove(file.FileOf(kKey));
    fs::create_symlink("/dev/zero", file.FileOf(kKey));
    EXPECT_TRUE(file.ReadSection(kKey).Values().empty()) << "a device reads as the defaults, at once";
}

TEST(SettingsFileTest, WithoutAHomeNothingIsStored) {
    settings::SettingsFile none("");
    none.WriteSection(kKey, {{"Password", std::string("secret")}});
    EXPECT_TRUE(none.ReadSection(kKey).Values().empty());
    test::ScopedEnvironment env;
    env.Set("HOME", nullptr);
    env.Set("XDG_CONFIG_HOME", nullptr);
    const passwd* entry = ::getpwuid(::getuid());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(settings::SettingsFile::DefaultFolder(), std::string(entry->pw_dir) + "/.config/Moraine")
        << "the home folder comes from the password database, never a shared folder";
}

TEST(UserFoldersTest, DocumentsFolderComesFromUserDirsAsTheDesktopFindsIt) {
    using settings::DocumentsDirOf;
    const std::string dirs = "# comment\nXDG_DESKTOP_DIR=\"$HOME\"\nXDG_DOCUMENTS_DIR=\"$HOME/My \\\"Docs\\\"\"\n";
    EXPECT_EQ(DocumentsDirOf(dirs, "/home/me"), "/home/me/My \"Docs\"");
    EXPECT_EQ(DocumentsDirOf("XDG_DOCUMENTS_DIR=\"/srv/docs\"\n", "/home/me"), "/srv/docs");
    EXPECT_EQ(DocumentsDirOf("XDG_MUSIC_DIR=\"$HOME/Music\"\n", "/home/me"), std::nullopt);

    test::TempFolder temp;
    fs::create_directories(temp / "home/Dokumente");
    fs::create_directories(temp / "elsewhere");
    std::ofstream(temp / "user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n";
    test::ScopedEnvironment env;
    env.Set("HOME", (temp / "home").c_str());
    env.Set("XDG_CONFIG_HOME", temp.Path().c_str());
    env.Set("XDG_DOCUMENTS_DIR", (temp / "elsewhere").c_str());
    EXPECT_EQ(settings::DocumentsFolder(), temp / "home/Dokumente") << "the file wins, as when xdg-user-dir reads it";
    fs::remove(temp / "user-dirs.dirs");
    EXPECT_EQ(settings::DocumentsFolder(), temp / "elsewhere");
}

// The desktop's opener gets the path as one argument, however the name is
// spelled: quotes, blanks and what a shell would expand pass through as they are.
TEST(ConsoleWindowsTest, TheOpenerGetsThePathAsItIs) {
    test::TempFolder folder;
    const std::string file = folder / "it's $(echo no) `x` a b.htm";
    std::ofstream(file) << "help";
    const std::string opener = folder / "xdg-open";
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"$(dirname \"$0\")/argument\"\necho noise\n";
    ASSERT_EQ(::chmod(opener.c_str(), 0755), 0);
    test::ScopedEnvironment env;
    env.Set("PATH", (folder.Path() + ":/usr/bin:/bin").c_str());
    env.Set("DISPLAY", ":0");
    app::ConsoleWindows windows;
    testing::internal::CaptureStdout();
    EXPECT_TRUE(windows.OpenWithShell(file));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "the opener's own output is silenced";
    EXPECT_EQ(test::ReadFile(folder / "argument"), "1|" + file);
}

}  // namespace
}  // namespace tessera
