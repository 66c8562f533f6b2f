#include "strings/TextFormat.h"

#include <gtest/gtest.h>

#include "strings/Utf8Text.h"

namespace tessera {
namespace {

TEST(TextFormatTest, PrintfConversions) {
    EXPECT_EQ(FormatText("%s-%d-%d", {std::string("Dec"), 6, 2026}), "Dec-6-2026");
    EXPECT_EQ(FormatText("From_%d_To_%d", {3, 7}), "From_3_To_7");
    EXPECT_EQ(FormatText("%03d|%-4s|%%", {5, std::string("ab")}), "005|ab  |%");
    EXPECT_EQ(FormatText("_%d", {12}), "_12");
}

TEST(TextFormatTest, MismatchedFormatsFromLanguageFilesAreSafe) {
    EXPECT_EQ(FormatText("%s outputs", {42}), "42 outputs") << "%s given a number";
    EXPECT_EQ(FormatText("%d of %s", {std::string("x")}), "0 of ") << "a text for %d, a missing argument";
    EXPECT_EQ(FormatText("%n%p 100%", {1}), "%n%p 100%") << "conversions it does not know are shown as written";
    EXPECT_EQ(FormatText("%99999999999d", {1}).size(), 999999u) << "widths are bounded";
}

TEST(Utf8TextTest, CharacterCountsNeverSplitASequence) {
    EXPECT_EQ(CountCharacters("été"), 3u);
    EXPECT_EQ(CutToCharacters("Ωmega été", 7), "Ωmega é");
    EXPECT_EQ(CutToCharacters("ab", 5), "ab");
    EXPECT_EQ(CutToBytes("aé", 2), "a");
    EXPECT_EQ(CutToBytes("aé", 3), "aé");
    EXPECT_EQ(CutToCharacters("\xff\xfe" "abc", 3), "\xff\xfe" "a") << "a stray byte counts as one character";
}

TEST(Utf8TextTest, UpperCaseMapsEachCharacter) {
    EXPECT_EQ(UpperCase("chapter été 1"), "CHAPTER ÉTÉ 1");
    EXPECT_EQ(UpperCase("straße"), "STRAßE") << "one character stays one character";
    EXPECT_EQ(UpperCase("\xff" "a"), "\xff" "A");
}

TEST(Utf8TextTest, TrimAllWhiteSpace) {
    EXPECT_EQ(TrimText(" \t\r\n x y \v\f"), "x y");
    EXPECT_EQ(TrimText("   "), "");
}

}  // namespace
}  // namespace tessera
