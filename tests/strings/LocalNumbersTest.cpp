// Numbers in the user's language, whatever the C locale a window's toolkit
// sets: English and German marks, and distances typed with either.
#include <clocale>

#include "model/ByteSize.h"
#include "strings/LanguageTable.h"
#include "strings/LocalNumbers.h"
#include "support/ScopedLanguageTable.h"
#include "ui/AreaUnits.h"

namespace tessera {
namespace {

TEST(LocalNumbersTest, EachLanguageWritesItsOwnMarksAndEitherIsRead) {
    test::ScopedLanguageTable table;
    // A German C locale, as Qt sets from LANG: it must not leak into the text.
    const bool german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    EXPECT_EQ(ByteSizeText(80121), "80,121 bytes (80.1 kB)");
    EXPECT_EQ(ByteSizeText(80000), "80,000 bytes (80 kB)");
    EXPECT_EQ(DescribeDistance(Fixed16::FromRealRounded(158.4)), "158 pt / 55 mm / 2.20 in");
    ASSERT_TRUE(LoadLanguageFile(std::string(TESSERA_SOURCE_DIR) + "/lang/Tessera.de.lan"));
    EXPECT_EQ(ByteSizeText(1753), "1.753 Bytes (1,75 kB)");
    EXPECT_EQ(ShowInUnit(Fixed16::FromRealRounded(43.2), AreaUnit::Inches), "0,60");
    for (const char* typed : {"0,6", "0.6", "0.60 "})
        EXPECT_EQ(ReadInUnit(typed, AreaUnit::Inches), Fixed16::FromRealAddingHalf(43.2)) << typed;
    EXPECT_EQ(ReadInUnit("1,000.5", AreaUnit::Inches), std::nullopt) << "no marks between thousands in an edge";
    if (german) std::setlocale(LC_NUMERIC, "C");
}

}  // namespace
}  // namespace tessera
