// The texts the user reads: language files, their lookup, and formatting.
#include <regex>
#include <sstream>

#include "access/AlertByKey.h"
#include "strings/TextFormat.h"
#include "strings/Utf8Text.h"
#include "support/Files.h"
#include "support/ScopedLanguageTable.h"

namespace tessera {
namespace {

class LanguageTableTest : public testing::Test {
protected:
    test::ScopedLanguageTable table;
    std::string Write(const std::string& name, const std::string& text) {
        std::ofstream(host.folder / name, std::ios::binary) << text;
        return host.folder / name;
    }
    test::TestHost host;
};

TEST_F(LanguageTableTest, LineRulesBuiltInDefaultsAndTheTwoFiles) {
    ASSERT_TRUE(LoadLanguageFile(Write("a.lan",
                                       "IDS_A= word  \n   IDS_INDENTED=value\r\nIDS_TWO=a=b\n# IDS_COMMENT=x\n"
                                       "  \t# IDS_COMMENT2=x\n=IDS_NOKEY\nIDS_NO_EQUALS\n\nIDS_EMPTY=\n"
                                       "IDS_KEY_BLANKS \t= v\nIDS_LATER=first\nIDS_LATER=second\nX")));
    const std::pair<const char*, const char*> lookups[] = {
        {"IDS_A", " word"},     {"IDS_INDENTED", "value"}, {"IDS_TWO", "a=b"},
        {"# IDS_COMMENT", "d"}, {"IDS_NOKEY", "d"},        {"IDS_NO_EQUALS", "d"},
        {"IDS_EMPTY", ""},      {"IDS_KEY_BLANKS", " v"},  {"IDS_LATER", "second"},
        {"ids_a", "d"},  // keys are case-sensitive
    };
    for (const auto& [key, value] : lookups) EXPECT_EQ(LookupString(key, "d"), value) << key;

    ASSERT_TRUE(LoadLanguageFile(Write("long.lan", "IDS_LONG=" + std::string(600, 'v') + "\nIDS_NEXT=ok\n")));
    EXPECT_EQ(LookupString("IDS_LONG"), std::string(511 - 9, 'v')) << "a long line is cut into pieces of 511";
    EXPECT_EQ(LookupString("IDS_NEXT"), "ok");
    EXPECT_FALSE(LoadLanguageFile("/dev/zero")) << "a device is no table, and is not read without end";
    EXPECT_EQ(LookupString("IDS_PAGES"), "pages") << "a key the files lack, with a default in the program";
    EXPECT_EQ(LookupString("IDS_ELEMENT"), "Element");
    EXPECT_EQ(LookupString("IDS_WARNING"), "");
    EXPECT_EQ(LookupString("IDS_PAGES", "other"), "other");

    // Of the two files the second wins; missing files are reported.
    Write("LanguageTable.lan", "IDS_WARNING=Warning\nIDS_X=from first\n");
    Write("Tessera.lan", "IDS_X=from second\n");
    EXPECT_TRUE(LoadLanguageTables(host.folder.Path() + "/").empty());
    EXPECT_EQ(LookupString("IDS_X"), "from second");
    EXPECT_EQ(LookupString("IDS_WARNING"), "Warning");

    TheLanguageTable().Clear();
    EXPECT_EQ(LoadLanguageTables(host.folder / "nowhere/"),
              (std::vector<std::string>{"LanguageTable.lan", "Tessera.lan"}));
    AlertByKey("IDS_LESS_THAN_2_PAGES");
    ASSERT_EQ(host.viewer.alerts.size(), 1u);
    EXPECT_EQ(host.viewer.alerts[0], "");
}

// Every key the sources name, and the arguments the code formats into the
// keys it formats: "d" for a number, "s" for a text, in order.
std::map<std::string, std::string> KeysInSources() {
    const std::map<std::string, std::string> formatted = {{"IDS_DOCUMENT_D", "d"},
                                                          {"IDS_DOCUMENT_PROGRESS", "dd"},
                                                          {"IDS_EXTRACTING_PAGES_PROGRESS", "ddd"},
                                                          {"IDS_FORMAT_ALL_PAGES_FROM", "ddds"},
                                                          {"IDS_FORMAT_EVEN_PAGES_FROM", "ddds"},
                                                          {"IDS_FORMAT_ODD_PAGES_FROM", "ddds"},
                                                          {"IDS_HTML_INDEX_NOT_WRITTEN", "s"},
                                                          {"IDS_INVALID_SEARCH_PATTERN", "ssd"},
                                                          {"IDS_OUTPUT_PATH_TOO_LONG", "s"},
                                                          {"IDS_OUTPUT_PATH_WRITTEN_TWICE", "s"},
                                                          {"IDS_TEXT_TOO_LONG", "sdd"},
                                                          {"IDS_VALUE_AREA_EDGES", "ssss"},
                                                          {"IDS_NAME_TEMPLATE_EXAMPLE", "s"},
                                                          {"IDS_ABOUT_VERSION", "dds"},
                                                          {"IDS_OK_WAITS_FOR", "s"},
                                                          {"IDS_PAGE_NUMBER_OUT_OF_BOUNDS", "d"},
                                                          {"IDS_THERE_ARE_TOTAL_N_PAGES_IN_CURRENT_DOCUMENT", "d"},
                                                          {"IDS_PAGE_UNREADABLE", "ds"},
                                                          {"IDS_CLAIMS_DROPPED", "s"},
                                                          {"IDS_PREFIX_DATE_FORMAT_STRING", "sdd"},
                                                          {"IDS_PROFILE_SAVED", "s"},
                                                          {"IDS_SEARCH_FAILED", "ds"},
                                                          {"IDS_PROFILE_REPLACE_FILE", "s"},
                                                          {"IDS_PROFILE_WOULD_OVERWRITE_INPUT", "s"},
                                                          {"IDS_OUTPUT_WOULD_OVERWRITE_INPUT", "s"},
                                                          {"IDS_HELP_FILE_CANNOT_BE_OPENED", "s"},
                                                          {"IDS_SEARCH_TOO_COMPLEX", "d"},
                                                          {"IDS_SPLIT_FINAL_REPORT", "d"},
                                                          {"IDS_SPLIT_FINAL_REPORT_ONE", "d"},
                                                          {"IDS_WATERMARK_LEFT_OUT", "ds"},
                                                          {"IDS_VALUE_NOT_A_CHOICE", "dss"},
                                                          {"IDS_WATERMARK_NOT_DRAWABLE", "ss"},
                                                          {"IDS_WATERMARK_SIZE_OUT_OF_RANGE", "d"},
                                                          {"IDS_WATERMARK_TRANSPARENCY_OUT_OF_RANGE", "d"},
                                                          {"IDS_AREA_EDGES_INVALID", "s"},
                                                          {"IDS_OCR_LANGUAGES_INVALID", "s"},
                                                          {"IDS_OCR_DPI_OUT_OF_RANGE", "ddd"},
                                                          {"IDS_OCR_CONFIDENCE_OUT_OF_RANGE", "d"},
                                                          {"IDS_OCR_PROGRESS", "d"},
                                                          {"IDS_OCR_LANGUAGE_MISSING", "ss"},
                                                          {"IDS_NAME_TEMPLATE_INVALID", "ss"},
                                                          {"IDS_NAMES_COUNT_MISMATCH", "dd"},
                                                          {"IDS_PAGE_OVER_SIZE_LIMIT", "dsss"},
                                                          {"IDS_PAGE_OVER_SIZE_LIMIT_ALONE", "dss"},
                                                          {"IDS_ACCOUNT_IN_OUTPUTS", "dd"},
                                                          {"IDS_ACCOUNT_DROPPED", "s"},
                                                          {"IDS_ACCOUNT_IN_NO_OUTPUT", "s"},
                                                          {"IDS_ACCOUNT_EMPTY_OUTPUTS", "s"},
                                                          {"IDS_ACCOUNT_MORE_PAGES", "d"},
                                                          {"IDS_WARN_EMPTY_OUTPUT", "s"},
                                                          {"IDS_WARN_PAGES_IN_NO_OUTPUT", "s"},
                                                          {"IDS_WARN_MOSTLY_DROPPED", "dd"},
                                                          {"IDS_SPLIT_CANCELLED_REPORT", "dds"},
                                                          {"IDS_SPLIT_OUTPUT_FOLDER", "s"},
                                                          {"IDS_SHEET_COLOUR_IS_PAPER", "sd"},
                                                          {"IDS_SHEET_SAMPLE_IS_PAPER", "dsd"},
                                                          {"IDS_SHEET_SAMPLE_OUTSIDE", "dd"},
                                                          {"IDS_NAME_TEMPLATE_UNKNOWN_FIELD", "ss"},
                                                          {"IDS_NAME_PATTERN_GROUP_HIDDEN", "s"},
                                                          {"IDS_WARN_PAGES_BEYOND_DOCUMENT", "ssd"},
                                                          {"IDS_AREA_WORDS", "s"},
                                                          {"IDS_PLAN_PAGES", "s"},
                                                          {"IDS_PLAN_VALUE", "s"},
                                                          {"IDS_PLAN_OCR_CONFIDENCE", "d"},
                                                          {"IDS_PLAN_BOOKMARK", "s"},
                                                          {"IDS_PLAN_EVERY_N", "d"},
                                                          {"IDS_PLAN_SUMMARY", "dddd"},
                                                          {"IDS_PLAN_MATCHES", "s"},
                                                          {"IDS_PLAN_SIZE_PART", "dds"},
                                                          {"IDS_PLAN_AT_MOST", "s"}};
    std::map<std::string, std::string> keys;
    const std::regex key("IDS_[A-Z0-9_]+");
    for (const auto& entry : std::filesystem::recursive_directory_iterator(std::string(TESSERA_SOURCE_DIR) + "/src")) {
        if (!entry.is_regular_file()) continue;
        const std::string text = test::ReadFile(entry.path());
        for (auto m = std::sregex_iterator(text.begin(), text.end(), key); m != std::sregex_iterator(); ++m)
            keys[m->str()] = formatted.count(m->str()) ? formatted.at(m->str()) : "";
    }
    for (const auto& [name, kinds] : formatted) EXPECT_TRUE(keys.count(name)) << name << " is no longer used";
    return keys;
}

// The conversions of a text as "d" and "s", in order ("%%" is none).
std::string Placeholders(const std::string& text) {
    static const std::regex conversion("%[-+ #0]*[0-9]*(?:\\.[0-9]+)?l{0,2}([a-zA-Z%])");
    std::string kinds;
    for (auto m = std::sregex_iterator(text.begin(), text.end(), conversion); m != std::sregex_iterator(); ++m) {
        const char c = m->str(1)[0];
        if (c != '%') kinds += std::string("diuxX").find(c) != std::string::npos ? 'd' : c;
    }
    return kinds;
}

TEST_F(LanguageTableTest, ShippedFilesHaveATextWithTheRightPlaceholdersForEveryKeyInUse) {
    ASSERT_TRUE(LoadLanguageFile(std::string(TESSERA_SOURCE_DIR) + "/lang/LanguageTable.lan"));
    ASSERT_TRUE(LoadLanguageFile(std::string(TESSERA_SOURCE_DIR) + "/lang/Tessera.lan"));
    const auto keys = KeysInSources();
    EXPECT_GT(keys.size(), 50u) << "the scan found the sources";
    for (const auto& [name, kinds] : keys) {
        const std::string* text = TheLanguageTable().Find(name);
        EXPECT_TRUE(text) << name << " has no text";
        // A text for exactly one may say "one" instead of formatting the count.
        const std::string kindsInText = text ? Placeholders(*text) : kinds;
        EXPECT_EQ(name.ends_with("_ONE") && kindsInText.empty() ? kinds : kindsInText, kinds) << name;
    }
}

// A language file's keys and texts, as the table reads them.
std::map<std::string, std::string> FileEntries(const std::string& path) {
    LanguageTable table;
    EXPECT_TRUE(table.LoadFile(path)) << path;
    return {table.Entries().begin(), table.Entries().end()};
}

// Every shipped translation gives every key of its English file a text with
// the same placeholders; beyond them it may only translate options' help and
// dialogs' captions, whose English is in the code.
TEST_F(LanguageTableTest, EveryTranslationHasEveryKeyWithTheSamePlaceholders) {
    int translations = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(TESSERA_SOURCE_DIR) + "/lang")) {
        const std::string name = entry.path().filename();
        const std::size_t dot = name.find('.');
        if (std::count(name.begin(), name.end(), '.') != 2) continue;
        ++translations;
        const std::string englishFile = entry.path().parent_path() / (name.substr(0, dot) + ".lan");
        // The table reads a line in pieces of 511 bytes: a longer one loses its end.
        for (const std::string& file : {std::string(entry.path()), englishFile}) {
            std::istringstream lines(test::ReadFile(file));
            for (std::string line; std::getline(lines, line);)
                EXPECT_LE(line.size() + 1, 511u) << file << ": " << line.substr(0, 40);
        }
        const auto english = FileEntries(englishFile);
        const auto translated = FileEntries(entry.path());
        for (const auto& [key, text] : english) {
            const auto found = translated.find(key);
            ASSERT_TRUE(found != translated.end()) << name << " lacks " << key;
            EXPECT_EQ(Placeholders(found->second), Placeholders(text)) << name << " " << key;
        }
        for (const auto& [key, text] : translated)
            EXPECT_TRUE(english.count(key) || key.starts_with("OPTION_") || key.starts_with("CAPTION ") ||
                        key.starts_with("HOST_"))
                << name << " has " << key << ", which no English text has";
    }
    EXPECT_GE(translations, 2) << "German ships";
}

TEST(TextFormatTest, PrintfConversionsAndMismatchedFormatsFromLanguageFiles) {
    EXPECT_EQ(FormatText("%s-%d-%d", {std::string("Dec"), 6, 2026}), "Dec-6-2026");
    EXPECT_EQ(FormatText("%03d|%-4s|%%", {5, std::string("ab")}), "005|ab  |%");
    EXPECT_EQ(FormatText("%s outputs", {42}), "42 outputs") << "%s given a number";
    EXPECT_EQ(FormatText("%d of %s", {std::string("x")}), "0 of ") << "a text for %d, a missing argument";
    EXPECT_EQ(FormatText("%n%p 100%", {1}), "%n%p 100%") << "conversions it does not know are shown as written";
    EXPECT_EQ(FormatText("%99999999999d", {1}).size(), 999999u) << "widths are bounded";
}

TEST(Utf8TextTest, CutsAndCaseMapsNeverSplitASequence) {
    EXPECT_EQ(CountCharacters("été"), 3u);
    EXPECT_EQ(CutToCharacters("Ωmega été", 7), "Ωmega é");
    EXPECT_EQ(CutToCharacters("ab", 5), "ab");
    EXPECT_EQ(CutToBytes("aé", 2), "a");
    EXPECT_EQ(CutToBytes("aé", 3), "aé");
    EXPECT_EQ(CutToCharacters("\xff\xfe"
                              "abc",
                              3),
              "\xff\xfe"
              "a")
        << "a stray byte counts as one character";
    EXPECT_EQ(UpperCase("chapter été 1"), "CHAPTER ÉTÉ 1");
    EXPECT_EQ(UpperCase("straße"), "STRAßE") << "one character stays one character";
    EXPECT_EQ(UpperCase("\xff"
                        "a"),
              "\xff"
              "A");
    EXPECT_EQ(TrimText(" \t\r\n x y \v\f"), "x y");
    EXPECT_EQ(TrimText("   "), "");
}

}  // namespace
}  // namespace tessera
