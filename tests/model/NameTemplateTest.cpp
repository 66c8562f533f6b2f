// Name templates: the fields each output fills in, and the templates refused.
#include "model/NameTemplate.h"

namespace tessera {
namespace {

TEST(NameTemplateTest, FieldsAreFilledInAndNamesNeverComeOutEmptyOrLeadOut) {
    NameFieldValues v;
    v.key = "1001", v.groups[0] = "022", v.groups[1] = "DE123", v.named["customer"] = "Acme";
    v.number = 7, v.total = 1000, v.from = 13, v.to = 15, v.title = "Part/II", v.input = "run", v.date = "2026-12-07";
    const struct {
        const char* text;
        const char* name;
    } cases[] = {
        {"INV-{key}", "INV-1001"},
        {"{1}-{2}", "022-DE123"},
        {"{customer} {{{n}}}", "Acme {7}"},
        {"{n:03}_{n:0}_{n}_{from:03}", "0007_0007_7_013"},          // a number as wide as the total
        {"{input}/{from:04}-{to} {title}", "run/0013-15 Part_II"},  // a value makes no folder
        {"{date} {missing}{3}", "2026-12-07 "},
        {"{label}", "7"},    // empty: the output's number
        {"{label}/x", "7"},  // an empty folder name too
    };
    for (const auto& c : cases) {
        const Result<NameTemplate> t = NameTemplate::Parse(c.text);
        ASSERT_TRUE(t) << c.text << ": " << t.Reason();
        EXPECT_EQ(t->Expand(v), c.name) << c.text;
    }
    EXPECT_TRUE(NameTemplate::Parse("INV-{1}")->Uses("1"));
    EXPECT_FALSE(NameTemplate::Parse("INV-{1}")->Uses("key"));

    const struct {
        const char* text;
        const char* column;
    } refused[] = {
        {"a{n", "column 2"},   {"a}b", "column 2"},     {"{}", "column 2"},    {"{key:03}", "column 1"},
        {"{n:3}", "column 4"}, {"{n:0a}", "column 4"},  {"{a-b}", "column 2"}, {"../{n}", "column 1"},
        {"/{n}", "column 1"},  {"x/./{n}", "column 1"},
    };
    for (const auto& r : refused) {
        const Result<NameTemplate> t = NameTemplate::Parse(r.text);
        ASSERT_FALSE(t) << r.text;
        EXPECT_NE(t.Reason().find(r.column), std::string::npos) << r.text << ": " << t.Reason();
    }
}

}  // namespace
}  // namespace tessera
