// Comma-separated rows as RFC 4180 writes them.
#include "strings/CsvRows.h"

namespace tessera {
namespace {

TEST(CsvRowsTest, QuotedFieldsHoldCommasBreaksAndQuotesAndDamageSaysWhere) {
    const Result<std::vector<CsvRow>> rows = ParseCsv("name,selection\r\n\"A, \"\"B\"\"\",1-3\n\"two\nlines\",\n,z\n");
    ASSERT_TRUE(rows) << rows.Reason();
    EXPECT_EQ(*rows, (std::vector<CsvRow>{{"name", "selection"}, {"A, \"B\"", "1-3"}, {"two\nlines", ""}, {"", "z"}}));
    EXPECT_EQ(ParseCsv("a,1")->size(), 1u) << "no line break at the end";
    EXPECT_TRUE(ParseCsv("")->empty());
    EXPECT_EQ(ParseCsv("a,1\n\"b\n").Reason(), "line 3: a quoted field without its closing quote");
    EXPECT_EQ(ParseCsv("a,1\nb\"c\",2\n").Reason(), "line 2: a quote inside a field that is not quoted as a whole");
    EXPECT_FALSE(ParseCsv("\"a\"b,1"));
}

}  // namespace
}  // namespace tessera
