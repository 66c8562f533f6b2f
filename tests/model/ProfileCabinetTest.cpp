#include "model/ProfileCabinet.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "cabinet/JsonCabinetStreams.h"
#include "host/HostError.h"

namespace tessera {
namespace {

TextQuery AreaQuery(const char* pattern, bool regex) {
    TextQuery q;
    q.Pattern = pattern;
    q.UseRegExp = regex;
    q.WholeWords = !regex;
    q.MatchCase = true;
    q.UseAreaFilter = true;
    q.AreaLeft = Fixed16::FromRaw(72 * 65536 + 32768);
    q.AreaTop = Fixed16::FromRaw(36 * 65536);
    q.AreaRight = Fixed16::FromRaw(540 * 65536 + 1);
    q.AreaBottom = Fixed16::FromRaw(700 * 65536);
    return q;
}

PageRange QueryRange(QueryTarget target) {
    PageRange r;
    r.Query.Enable = true;
    r.Query.Target = target;
    r.Query.FirstPageQuery = AreaQuery("Chapter \\d+", true);
    if (target == QueryTarget::QueryPageRanges) {
        r.Query.LastPageQuery = AreaQuery("Summary", false);
        r.Query.ExcludeLastPage = true;
    }
    r.SubTitle = "found";
    r.FirstPage = 3, r.LastPage = 9, r.NumActualPages = 2, r.Step = 6;
    return r;
}

// Every field away from its initial value, and a hand-made list of every kind of range.
SplitSettings EveryField() {
    SplitSettings s;
    s.SplitMode = SplitMethod::SeparatorPages;
    s.Output = {true, true, true, true, true, 7, 2, 4, SeparatorKind::PageMatchingText, AreaQuery("Part [IVX]+", true), 55,
                WatermarkStyle{"Confidential", 30, 60, true}};
    s.Security = {true, "open sesame", "owner", false, true, false, true, false};
    FilenameSettings& f = s.Filename;
    f.OutputFolder = "/tmp/out/";
    f.OutputBaseFilename = "Report";
    f.FileNameConstructionMode = NameConstructionMode::AddTextFromPage;
    f.FileNameAutoPrefix = AutoPrefix::PrefixTodaysDate;
    f.CreateFoldersForBookmarks = true;
    f.TextAreaLeft = Fixed16::FromRaw(10 * 65536), f.TextAreaTop = Fixed16::FromRaw(20 * 65536 + 1);
    f.TextAreaRight = Fixed16::FromRaw(300 * 65536), f.TextAreaBottom = Fixed16::FromRaw(80 * 65536 + 49152);
    f.PageNumber = 3, f.StartingNumber = 5, f.IncrementBy = 2, f.NumPadWithZeroes = 3;

    OutputDocument plain{{MakePageRange(0, 9, OddPages), MakePageRange(2, 4, EvenPages | ReverseOrder)}, "Front"};
    PageRange marked = MakePageRange(5, 3, AddWatermark);
    marked.Watermark = "DRAFT";
    marked.TransparencyLevel = 20, marked.WatermarkFontSize = 60, marked.WatermarkBehindText = false;
    plain.Ranges.push_back(marked);
    OutputDocument queries{{QueryRange(QueryTarget::QuerySinglePage), QueryRange(QueryTarget::QueryPageSet),
                            QueryRange(QueryTarget::QueryPageRanges)}, ""};
    PageRange content;
    content.Query.Enable = true;
    content.Query.Target = QueryTarget::QueryPageContent;
    using enum host::PageElementKind;
    content.Query.PageContentQuery = {Image, TextComment, Stamp};
    queries.Ranges.push_back(content);
    s.Outputs = {plain, queries};
    return s;
}

std::string Stream(const SplitSettings& s) {
    host::Cabinet c;
    SaveSettingsToCabinet(s, c);
    return cabinet::JsonCabinetStreams().WriteStream(c);
}

TEST(ProfileCabinetTest, RoundTripThroughTheStreamGivesTheSameRecordAndFile) {
    const SplitSettings first = EveryField();
    const std::string stream = Stream(first);
    SplitSettings loaded;
    std::string why;
    ASSERT_TRUE(LoadSettingsFromCabinet(loaded, cabinet::JsonCabinetStreams().ReadStream(stream), &why)) << why;
    EXPECT_EQ(loaded, first);
    EXPECT_EQ(Stream(loaded), stream);
}

TEST(ProfileCabinetTest, SavingDropsEmptyTextsButNoCabinetThatHoldsAnything) {
    SplitSettings s;
    s.Filename.OutputBaseFilename.clear();
    s.Outputs = {OutputDocument{{PageRange{}}, ""}};
    host::Cabinet c;
    SaveSettingsToCabinet(s, c);
    const host::Cabinet& filename = *c.GetCabinet("Settings")->GetCabinet("FilenameSettings");
    EXPECT_FALSE(filename.Has("BaseFilename"));
    EXPECT_FALSE(c.GetCabinet("Doc0")->Has("Filename"));
    ASSERT_NE(c.GetCabinet("Doc0")->GetCabinet("Range0"), nullptr);
    EXPECT_NE(c.GetCabinet("Doc0")->GetCabinet("Range0")->GetCabinet("Query"), nullptr);

    host::Cabinet holdsOnlyEmpty, holdsFalse, tree;
    holdsOnlyEmpty.Put("Pattern", std::string());
    holdsFalse.Put("Enable", false);
    tree.PutCabinet("a", holdsOnlyEmpty);
    tree.PutCabinet("b", holdsFalse);
    tree.DropEmptyValues();
    EXPECT_FALSE(tree.Has("a"));
    EXPECT_TRUE(tree.Has("b"));
}

struct Rule {
    const char* name;
    std::function<void(host::Cabinet&)> edit;
    bool loads;
    std::function<void(const SplitSettings&)> check;  // what the loaded record holds
    const char* refusal = "";                         // what the refusal names
};

host::Cabinet& At(host::Cabinet& c, std::initializer_list<const char*> path) {
    host::Cabinet* at = &c;
    for (const char* key : path) at = &std::get<host::CabinetBox>(*at->Find(key)).Get();
    return *at;
}

TEST(ProfileCabinetTest, LoadRules) {
    const auto mode = [](std::int32_t m) { return [m](host::Cabinet& c) { c.Put("SplitMode", m); }; };
    const auto naming = [](const char* key, host::CabinetValue v) {
        return [key, v](host::Cabinet& c) { At(c, {"Settings", "FilenameSettings"}).Put(key, v); };
    };
    const auto ranges = [](std::int32_t n) {
        return [n](host::Cabinet& c) {
            host::Cabinet& doc = At(c, {"Doc0"});
            const host::Cabinet range = *doc.GetCabinet("Range0");
            for (std::int32_t j = 0; j < n; ++j) doc.PutCabinet("Range" + std::to_string(j), range);
            doc.Put("NumRanges", n);
        };
    };
    const Rule rules[] = {
        {"no SplitMode is EqualPages", [](host::Cabinet& c) { c.Remove("SplitMode"); }, true,
         [](const SplitSettings& s) { EXPECT_EQ(s.SplitMode, SplitMethod::EqualPages); }},
        {"SplitMode 4", mode(4), false, nullptr, "\"SplitMode\" is 4"},
        {"SplitMode -1", mode(-1), false, nullptr, "\"SplitMode\""},
        {"no Settings", [](host::Cabinet& c) { c.Remove("Settings"); }, false, nullptr, "\"Settings\" is missing"},
        {"no BaseFilename is empty", [](host::Cabinet& c) { At(c, {"Settings", "FilenameSettings"}).Remove("BaseFilename"); },
         true, [](const SplitSettings& s) { EXPECT_EQ(s.Filename.OutputBaseFilename, ""); }},
        {"construction mode 5 is 0", naming("FileConstructionMode", 5), true,
         [](const SplitSettings& s) { EXPECT_EQ(s.Filename.FileNameConstructionMode, NameConstructionMode::AddNumber); }},
        {"construction mode -2 stays", naming("FileConstructionMode", -2), true,
         [](const SplitSettings& s) { EXPECT_EQ(static_cast<int>(s.Filename.FileNameConstructionMode), -2); }},
        {"prefix 3 is 0", naming("FileAutoPrefix", 3), true,
         [](const SplitSettings& s) { EXPECT_EQ(s.Filename.FileNameAutoPrefix, AutoPrefix::PrefixNone); }},
        {"prefix -1 stays", naming("FileAutoPrefix", -1), true,
         [](const SplitSettings& s) { EXPECT_EQ(static_cast<int>(s.Filename.FileNameAutoPrefix), -1); }},
        {"reals: x 65536 + 0.5 cut, integers taken as reals",
         [&](host::Cabinet& c) {
             naming("PageRectLeft", 10.00001)(c);
             naming("PageRectTop", std::int32_t{72})(c);
             naming("PageRectRight", -0.00002)(c);
         },
         true,
         [](const SplitSettings& s) {
             EXPECT_EQ(s.Filename.TextAreaLeft.Raw(), 10 * 65536 + 1);
             EXPECT_EQ(s.Filename.TextAreaTop.Raw(), 72 * 65536);
             EXPECT_EQ(s.Filename.TextAreaRight.Raw(), 0);
         }},
        {"passwords lose leading white space only",
         [](host::Cabinet& c) {
             At(c, {"Settings", "SecuritySettings"}).Put("Password", std::string(" \tpw "));
             At(c, {"Settings", "SecuritySettings"}).Put("PermPassword", std::string("\n"));
         },
         true,
         [](const SplitSettings& s) {
             EXPECT_EQ(s.Security.Password, "pw ");
             EXPECT_EQ(s.Security.PermPassword, "");
         }},
        {"no FilenameSettings: security read, the rest kept",
         [](host::Cabinet& c) { At(c, {"Settings"}).Remove("FilenameSettings"); }, true,
         [](const SplitSettings& s) {
             EXPECT_EQ(s.Security.Password, "open sesame");
             EXPECT_EQ(s.Filename.OutputBaseFilename, "kept");
             EXPECT_EQ(s.Output.NumEqualPages, 99);
         }},
        {"no SeparatorQuery keeps the query", [](host::Cabinet& c) { At(c, {"Settings", "OutputSettings"}).Remove("SeparatorQuery"); },
         true, [](const SplitSettings& s) { EXPECT_EQ(s.Output.SeparatorQuery.Pattern, "kept"); }},
        {"NumOutputFiles 0 empties the list", [](host::Cabinet& c) { c.Put("NumOutputFiles", 0); }, true,
         [](const SplitSettings& s) { EXPECT_TRUE(s.Outputs.empty()); }},
        {"NumRanges 10000", ranges(10000), true,
         [](const SplitSettings& s) { EXPECT_EQ(s.Outputs[0].Ranges.size(), 10000u); }},
        {"NumRanges 10001", ranges(10001), false, nullptr, "\"Doc0/NumRanges\" is 10001"},
        {"Doc1 missing between others",
         [](host::Cabinet& c) {
             c.PutCabinet("Doc2", *c.GetCabinet("Doc1"));
             c.Remove("Doc1");
             c.Put("NumOutputFiles", 3);
         },
         false, nullptr, "\"Doc1\" is missing"},
        {"a huge NumOutputFiles reserves nothing", [](host::Cabinet& c) { c.Put("NumOutputFiles", INT32_MAX); }, false,
         nullptr, "\"Doc2\" is missing"},
        {"Range without Query", [](host::Cabinet& c) { At(c, {"Doc1", "Range2"}).Remove("Query"); }, false, nullptr,
         "\"Doc1/Range2/Query\" is missing"},
        {"a boolean for a count", [](host::Cabinet& c) { At(c, {"Doc0"}).Put("NumRanges", true); }, false, nullptr,
         "\"Doc0/NumRanges\" holds a boolean, not an integer"},
        {"a text for an area",
         [](host::Cabinet& c) { At(c, {"Doc1", "Range0", "Query", "FirstPageQuery"}).Put("AreaLeft", std::string("72")); },
         false, nullptr, "\"Doc1/Range0/Query/FirstPageQuery/AreaLeft\" holds a text, not a real"},
        {"a real for an integer", [](host::Cabinet& c) { At(c, {"Settings", "OutputSettings"}).Put("EqualPagesNumber", 2.0); },
         false, nullptr, "\"Settings/OutputSettings/EqualPagesNumber\" holds a real"},
        {"an integer for a group", [](host::Cabinet& c) { At(c, {"Settings"}).Put("SecuritySettings", 1); }, false,
         nullptr, "\"Settings/SecuritySettings\" holds an integer, not a cabinet"},
    };
    for (const Rule& rule : rules) {
        host::Cabinet c;
        SaveSettingsToCabinet(EveryField(), c);
        rule.edit(c);
        SplitSettings s;
        s.Filename.OutputBaseFilename = "kept";
        s.Output.NumEqualPages = 99;
        s.Output.SeparatorQuery.Pattern = "kept";
        std::string why;
        EXPECT_EQ(LoadSettingsFromCabinet(s, c, &why), rule.loads) << rule.name << ": " << why;
        if (rule.check && rule.loads) rule.check(s);
        EXPECT_NE(why.find(rule.refusal), std::string::npos) << rule.name << ": " << why;
    }
}

// Damaged files end in a record or a refusal (a host error from the stream,
// false from the load), never in a crash or another exception.
TEST(ProfileCabinetTest, TruncatedAndFlippedStreamsAreLoadedOrRefused) {
    const std::string good = Stream(EveryField());
    cabinet::JsonCabinetStreams streams;
    int loaded = 0, refused = 0;
    const auto attempt = [&](const std::string& damaged) {
        try {
            SplitSettings s;
            (LoadSettingsFromCabinet(s, streams.ReadStream(damaged)) ? loaded : refused)++;
        } catch (const host::HostError&) {
            ++refused;
        }
    };
    for (std::size_t cut = 0; cut < good.size(); cut += good.size() / 150 + 1) attempt(good.substr(0, cut));
    std::mt19937 random(14);
    for (int i = 0; i < 250; ++i) {
        std::string damaged = good;
        for (int flips = 1 + i % 3; flips > 0; --flips)
            damaged[random() % damaged.size()] ^= static_cast<char>(1u << (random() % 8));
        attempt(damaged);
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 100);
}

}  // namespace
}  // namespace tessera
