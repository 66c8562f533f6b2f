#include "strings/LanguageTable.h"

#include <gtest/gtest.h>

#include <fstream>

#include "access/AlertByKey.h"
#include "support/ScopedLanguageTable.h"
#include "support/TestHost.h"

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

TEST_F(LanguageTableTest, LineRules) {
    ASSERT_TRUE(LoadLanguageFile(Write("a.lan",
                                       "IDS_A= word  \n"
                                       "   IDS_INDENTED=value\r\n"
                                       "IDS_TWO=a=b\n"
                                       "# IDS_COMMENT=x\n"
                                       "  \t# IDS_COMMENT2=x\n"
                                       "=IDS_NOKEY\n"
                                       "IDS_NO_EQUALS\n"
                                       "\n"
                                       "IDS_EMPTY=\n"
                                       "IDS_KEY_BLANKS \t= v\n"
                                       "IDS_LATER=first\n"
                                       "IDS_LATER=second\n"
                                       "X")));
    EXPECT_EQ(LookupString("IDS_A", "d"), " word");
    EXPECT_EQ(LookupString("IDS_INDENTED", "d"), "value");
    EXPECT_EQ(LookupString("IDS_TWO", "d"), "a=b");
    EXPECT_EQ(LookupString("# IDS_COMMENT", "d"), "d");
    EXPECT_EQ(LookupString("IDS_NOKEY", "d"), "d");
    EXPECT_EQ(LookupString("IDS_NO_EQUALS", "d"), "d");
    EXPECT_EQ(LookupString("IDS_EMPTY", "d"), "") << "an empty value is found, not the default";
    EXPECT_EQ(LookupString("IDS_KEY_BLANKS", "d"), " v");
    EXPECT_EQ(LookupString("IDS_LATER", "d"), "second");
    EXPECT_EQ(LookupString("ids_a", "d"), "d") << "keys are case-sensitive";
}

TEST_F(LanguageTableTest, LongLineIsCutIntoPiecesOf511) {
    const std::string value(600, 'v');
    ASSERT_TRUE(LoadLanguageFile(Write("long.lan", "IDS_LONG=" + value + "\nIDS_NEXT=ok\n")));
    EXPECT_EQ(LookupString("IDS_LONG"), std::string(511 - 9, 'v'));
    EXPECT_EQ(LookupString("IDS_NEXT"), "ok");
}

TEST_F(LanguageTableTest, SecondFileWinsAndMissingFilesAreReported) {
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

TEST_F(LanguageTableTest, BuiltInDefaultsOnlyWhereTheProgramHasThem) {
    EXPECT_EQ(LookupString("IDS_PAGES"), "pages");
    EXPECT_EQ(LookupString("IDS_ELEMENT"), "Element");
    EXPECT_EQ(LookupString("IDS_WARNING"), "");
    EXPECT_EQ(LookupString("IDS_PAGES", "other"), "other");
}

TEST_F(LanguageTableTest, ShippedFilesHaveATextForEveryKeyInUse) {
    ASSERT_TRUE(LoadLanguageFile(std::string(TESSERA_SOURCE_DIR) + "/lang/LanguageTable.lan"));
    ASSERT_TRUE(LoadLanguageFile(std::string(TESSERA_SOURCE_DIR) + "/lang/Tessera.lan"));
    for (const char* key : {"IDS_SPLIT_DOCUMENT_MENU_ENTRY", "IDS_BAD_VIEWER_VERSION", "IDS_LESS_THAN_2_PAGES",
                            "IDS_SECURITY_NOT_PERMITING", "IDS_SPLIT_FINAL_REPORT", "IDS_SPLIT_FINAL_REPORT_NO_OUTPUT",
                            "IDS_CANT_PROCESS_THIS_FILE_ACCORDING_TO_SETTINGS", "IDS_PREFIX_DATE_FORMAT_STRING",
                            "IDS_MONTH_JAN", "IDS_MONTH_DEC", "IDS_EXTRACTING_PAGES_PROGRESS",
                            "IDS_APPLICATION_ERROR_SPLIT_OPERATION_FAILED", "IDS_SEARCHING_PAGES_", "IDS_WARNING",
                            "IDS_TOOLTIP_SELECT_SEPARATOR_TYPE", "IDS_INVALID_FILENAME_ALPHANUMERIC_ONLY",
                            "IDS_RUBBER_STAMP", "IDS_TESSERA_PRO_PLUGIN"})
        EXPECT_NE(TheLanguageTable().Find(key), nullptr) << key;
    EXPECT_NE(LookupString("IDS_SPLIT_FINAL_REPORT").find("%d"), std::string::npos);
}

}  // namespace
}  // namespace tessera
