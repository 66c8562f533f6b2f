// Settings stored in a cabinet and its JSON stream (profiles, batch
// parameters), read back, or refused with the path of what is wrong.
#include "cabinet/JsonCabinetStreams.h"
#include "host/HostError.h"
#include "model/ProfileCabinet.h"
#include "support/CabinetPath.h"
#include "support/Files.h"

namespace tessera {
namespace {

TextQuery AreaQuery(const char* pattern, bool regex) {
    TextQuery q;
    q.Pattern = pattern;
    q.UseRegExp = regex;
    q.WholeWords = !regex;
    q.MatchCase = q.UseAreaFilter = true;
    q.Area.left = Fixed16::FromRaw(72 * 65536 + 32768);
    q.Area.top = Fixed16::FromRaw(36 * 65536);
    q.Area.right = Fixed16::FromRaw(540 * 65536 + 1);
    q.Area.bottom = Fixed16::FromRaw(700 * 65536);
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

// Every field away from its initial value, and every kind of range: Doc0 holds
// plain ranges, Doc1 one query range of each target (Range3 by element kinds).
SplitSettings EveryField() {
    SplitSettings s;
    s.SplitMode = SplitMethod::SeparatorPages;
    s.Output = {true,
                true,
                true,
                true,
                true,
                7,
                2,
                4,
                SeparatorKind::PageMatchingText,
                AreaQuery("Part [IVX]+", true),
                55,
                WatermarkStyle{"Confidential", 30, 60, true}};
    s.Security = {true, "open sesame", "owner", false, true, false, true, false};
    FilenameSettings& f = s.Filename;
    f.OutputFolder = "/tmp/out/";
    f.OutputBaseFilename = "Report";
    f.FileNameConstructionMode = NameConstructionMode::AddTextFromPage;
    f.FileNameAutoPrefix = AutoPrefix::PrefixTodaysDate;
    f.CreateFoldersForBookmarks = true;
    f.TextArea.left = Fixed16::FromRaw(10 * 65536), f.TextArea.top = Fixed16::FromRaw(20 * 65536 + 1);
    f.TextArea.right = Fixed16::FromRaw(300 * 65536), f.TextArea.bottom = Fixed16::FromRaw(80 * 65536 + 49152);
    f.PageNumber = 3, f.StartingNumber = 5, f.IncrementBy = 2, f.NumPadWithZeroes = 3;

    OutputDocument plain{{MakePageRange(0, 9, PageRangeFlag::OddPages),
                          MakePageRange(2, 4, PageRangeFlag::EvenPages | PageRangeFlag::ReverseOrder)},
                         "Front"};
    PageRange marked = MakePageRange(5, 3);
    SetWatermark(marked, {"DRAFT", 20, 60, false});
    plain.Ranges.push_back(marked);
    OutputDocument queries{{QueryRange(QueryTarget::QuerySinglePage), QueryRange(QueryTarget::QueryPageSet),
                            QueryRange(QueryTarget::QueryPageRanges)},
                           ""};
    queries.Ranges.push_back(QueryRange(QueryTarget::QueryPageContent));
    using enum host::PageElementKind;
    queries.Ranges.back().Query.PageContentQuery = {Image, TextComment, Stamp};
    s.Outputs = {plain, queries};
    return s;
}

std::string Stream(const SplitSettings& s) {
    host::Cabinet c;
    SaveSettingsToCabinet(s, c);
    return cabinet::JsonCabinetStreams().WriteStream(c);
}

TEST(ProfileCabinetTest, RoundTripThroughTheStreamGivesTheSameRecordAndFile) {
    SplitSettings sparse;  // empty texts are not stored, a default range still is
    sparse.Filename.OutputBaseFilename.clear();
    sparse.Outputs = {OutputDocument{{PageRange{}}, ""}};
    // The files were written before the settings fields became one table; they must not change.
    const std::pair<SplitSettings, const char*> cases[] = {{EveryField(), "settings-every-field.tpr"},
                                                           {sparse, "settings-sparse.tpr"}};
    for (const auto& [first, golden] : cases) {
        const std::string stream = Stream(first);
        EXPECT_EQ(stream, test::ReadFile(test::DataFile(golden))) << golden;
        SplitSettings loaded;
        const Result<> load = LoadSettingsFromCabinet(loaded, cabinet::JsonCabinetStreams().ReadStream(stream));
        ASSERT_TRUE(load) << load.Reason();
        EXPECT_EQ(loaded, first);
        EXPECT_EQ(Stream(loaded), stream);
    }
}

// Each rule edits the stored EveryField() and gives the record it loads as (an
// edit of EveryField(), over a record holding "kept" values), or the refusal.
TEST(ProfileCabinetTest, LoadRules) {
    using Edit = std::function<void(host::Cabinet&)>;
    using Path = std::initializer_list<const char*>;
    const auto put = [](Path path, const char* key, host::CabinetValue v) -> Edit {
        return [=](host::Cabinet& c) { test::At(c, path).Put(key, v); };
    };
    const auto remove = [](Path path, const char* key) -> Edit {
        return [=](host::Cabinet& c) { test::At(c, path).Remove(key); };
    };
    const auto ranges = [](std::int32_t n) -> Edit {
        return [n](host::Cabinet& c) {
            host::Cabinet& doc = test::At(c, {"Doc0"});
            for (std::int32_t j = 0; j < n; ++j) doc.PutCabinet("Range" + std::to_string(j), *doc.GetCabinet("Range0"));
            doc.Put("NumRanges", n);
        };
    };
    const auto kinds = [](std::int32_t n) -> Edit {
        return [n](host::Cabinet& c) {
            host::Cabinet array;
            for (std::int32_t i = 0; i < n; ++i) array.Put(std::to_string(i), std::int32_t{3});
            test::At(c, {"Doc1", "Range3", "Query"}).PutCabinet("PageAttributeArray", array);
            test::At(c, {"Doc1", "Range3", "Query"}).Put("NumAttributes", n);
        };
    };
    const Path naming = {"Settings", "FilenameSettings"}, security = {"Settings", "SecuritySettings"};
    const Path output = {"Settings", "OutputSettings"}, query = {"Doc1", "Range0", "Query"};
    const Path plain = {"Doc0", "Range0"}, marked = {"Doc0", "Range2"};
    SplitSettings kept;
    kept.Filename.OutputBaseFilename = kept.Output.SeparatorQuery.Pattern = "kept";
    kept.Output.NumEqualPages = 99;
    const struct Rule {
        const char* name;
        std::vector<Edit> edits;
        std::function<void(SplitSettings&)> expect;  // null: refused
        const char* refusal = "";                    // what the refusal names
    } rules[] = {
        {"no SplitMode", {remove({}, "SplitMode")}, [](auto& s) { s.SplitMode = SplitMethod::EqualPages; }},
        {"SplitMode 5", {put({}, "SplitMode", 5)}, nullptr, "\"SplitMode\" is 5"},
        {"SplitMode -1", {put({}, "SplitMode", -1)}, nullptr, "\"SplitMode\""},
        {"no Settings", {remove({}, "Settings")}, nullptr, "\"Settings\" is missing"},
        {"no BaseFilename", {remove(naming, "BaseFilename")}, [](auto& s) { s.Filename.OutputBaseFilename = ""; }},
        {"construction mode 6 and prefix 3 are the first",
         {put(naming, "FileConstructionMode", 6), put(naming, "FileAutoPrefix", 3)},
         [](auto& s) {
             s.Filename.FileNameConstructionMode = NameConstructionMode::AddNumber;
             s.Filename.FileNameAutoPrefix = AutoPrefix::PrefixNone;
         }},
        {"construction mode 4 and prefix 2 stay",
         {put(naming, "FileConstructionMode", 4), put(naming, "FileAutoPrefix", 2)},
         [](auto&) {}},
        {"construction mode -2 and prefix -1 stay",
         {put(naming, "FileConstructionMode", -2), put(naming, "FileAutoPrefix", -1)},
         [](auto& s) {
             s.Filename.FileNameConstructionMode = NameConstructionMode{-2};
             s.Filename.FileNameAutoPrefix = AutoPrefix{-1};
         }},
        {"reals: x 65536 + 0.5 cut, integers taken as reals",
         {put(naming, "PageRectRight", 10.00001), put(naming, "PageRectTop", 72), put(naming, "PageRectLeft", -2e-5),
          put(naming, "PageRectBottom", 72)},
         [](auto& s) {
             s.Filename.TextArea.right = Fixed16::FromRaw(10 * 65536 + 1);
             s.Filename.TextArea.top = s.Filename.TextArea.bottom = Fixed16::FromRaw(72 * 65536);
             s.Filename.TextArea.left = Fixed16::FromRaw(0);
         }},
        {"passwords lose leading white space only",
         {put(security, "Password", std::string(" \tpw ")), put(security, "PermPassword", std::string("\n"))},
         [](auto& s) { s.Security.Password = "pw ", s.Security.PermPassword = ""; }},
        {"no FilenameSettings: security read, the rest kept",
         {remove({"Settings"}, "FilenameSettings")},
         [&](auto& s) { s.Filename = kept.Filename, s.Output = kept.Output; }},
        {"no SeparatorQuery keeps the query",
         {remove(output, "SeparatorQuery")},
         [&](auto& s) { s.Output.SeparatorQuery = kept.Output.SeparatorQuery; }},
        {"a query without Pattern has none",
         {remove({"Settings", "OutputSettings", "SeparatorQuery"}, "Pattern")},
         [](auto& s) { s.Output.SeparatorQuery.Pattern = ""; }},
        {"a watermark text without its bit is none",
         {put(marked, "Options", 0)},
         [](auto& s) { s.Outputs[0].Ranges[2].Watermark.reset(); }},
        {"the watermark bit without a text is none",
         {remove(marked, "Watermark")},
         [](auto& s) { s.Outputs[0].Ranges[2].Watermark.reset(); }},
        {"a range's watermark values missing read as the range's own defaults",
         {remove(marked, "TransparencyLevel"), remove(marked, "WatermarkFontSize"),
          remove(marked, "WatermarkBehindText")},
         [](auto& s) {
             s.Outputs[0].Ranges[2].Watermark = WatermarkStyle{"DRAFT", 50, 45, true};
         }},
        {"option bits no flag names are kept",
         {put(plain, "Options", 1 | 16)},
         [](auto& s) { s.Outputs[0].Ranges[0].Options = PageRangeFlags::FromStored(1 | 16); }},
        {"NumOutputFiles 0 empties the list", {put({}, "NumOutputFiles", 0)}, [](auto& s) { s.Outputs.clear(); }},
        {"10000 ranges", {ranges(10000)}, [](auto& s) { s.Outputs[0].Ranges.assign(10000, s.Outputs[0].Ranges[0]); }},
        {"NumRanges 10001", {ranges(10001)}, nullptr, "\"Doc0/NumRanges\" is 10001"},
        {"100 element kinds",
         {kinds(100)},
         [](auto& s) { s.Outputs[1].Ranges[3].Query.PageContentQuery.assign(100, host::PageElementKind{3}); }},
        {"101 element kinds", {kinds(101)}, nullptr, "\"Doc1/Range3/Query/NumAttributes\" is 101"},
        {"element kinds counted without their array",
         {remove({"Doc1", "Range3", "Query"}, "PageAttributeArray")},
         nullptr,
         "\"Doc1/Range3/Query/PageAttributeArray\" is missing"},
        {"Doc1 missing between others",
         {put({}, "NumOutputFiles", 3), remove({}, "Doc1"),
          [](auto& c) { c.PutCabinet("Doc2", *c.GetCabinet("Doc0")); }},
         nullptr,
         "\"Doc1\" is missing"},
        {"a huge NumOutputFiles reserves nothing",
         {put({}, "NumOutputFiles", INT32_MAX)},
         nullptr,
         "\"Doc2\" is missing"},
        {"Range without Query", {remove({"Doc1", "Range2"}, "Query")}, nullptr, "\"Doc1/Range2/Query\" is missing"},
        {"query without LastPageQuery",
         {remove(query, "LastPageQuery")},
         nullptr,
         "\"Doc1/Range0/Query/LastPageQuery\" is missing"},
        {"a boolean for a count",
         {put({"Doc0"}, "NumRanges", true)},
         nullptr,
         "\"Doc0/NumRanges\" holds a boolean, not an integer"},
        {"a text for an area",
         {put({"Doc1", "Range0", "Query", "FirstPageQuery"}, "AreaLeft", std::string("72"))},
         nullptr,
         "\"Doc1/Range0/Query/FirstPageQuery/AreaLeft\" holds a text, not a real"},
        {"a real for an integer",
         {put(output, "EqualPagesNumber", 2.0)},
         nullptr,
         "\"Settings/OutputSettings/EqualPagesNumber\" holds a real"},
        {"an integer for a group",
         {put({"Settings"}, "SecuritySettings", 1)},
         nullptr,
         "\"Settings/SecuritySettings\" holds an integer, not a cabinet"},
    };
    for (const Rule& rule : rules) {
        SCOPED_TRACE(rule.name);
        host::Cabinet c;
        SaveSettingsToCabinet(EveryField(), c);
        for (const Edit& edit : rule.edits) edit(c);
        SplitSettings s = kept, expected = EveryField();
        const Result<> load = LoadSettingsFromCabinet(s, c);
        EXPECT_EQ(static_cast<bool>(load), rule.expect != nullptr) << load.Reason();
        if (rule.expect) {
            rule.expect(expected);
            EXPECT_EQ(s, expected);
        }
        EXPECT_NE(load.Reason().find(rule.refusal), std::string::npos) << load.Reason();
    }
}

// Every type and key order round trips; malformed streams are refused with a reason.
TEST(JsonCabinetStreamsTest, EveryTypeRoundTripsAndMalformedStreamsAreRefused) {
    host::Cabinet inner, deeper, c;
    inner.Put("z", std::int32_t{-7});
    inner.Put("a", 72.0);
    deeper.PutCabinet("inner", inner);
    c.Put("bool", true);
    c.Put("int", std::int32_t{2147483647});
    c.Put("real", 0.5);
    c.Put("whole real", 72.0);  // read back as a real, not an integer
    c.Put("text", std::string("Chapter \"1\" \\ été"));
    c.Put("bytes", host::ByteString{std::string("\0\xff\x01z", 4)});
    c.PutCabinet("nested", inner);
    c.PutCabinet("deeper", deeper);
    c.PutCabinet("empty", host::Cabinet{});
    cabinet::JsonCabinetStreams streams;
    const std::string stream = streams.WriteStream(c);
    const host::Cabinet back = streams.ReadStream(stream);
    EXPECT_EQ(back, c) << "in key order";
    EXPECT_EQ(streams.WriteStream(back), stream);

    host::Cabinet pointer;
    pointer.Put("p", host::Pointer{&pointer});
    pointer.Put("n", std::int32_t{1});
    EXPECT_EQ(streams.ReadStream(streams.WriteStream(pointer)).Size(), 1u) << "pointers are not written";

    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "{\"a\":";
    const std::pair<std::string, const char*> cases[] = {
        {"", "parse error"},
        {"{\"a\": 1", "parse error"},
        {"[1, 2]", "not a JSON object"},
        {"{\"a\": [1]}", "type array at /a"},
        {"{\"a\": null}", "type null at /a"},
        {"{\"a\": 4294967296}", "beyond 32 bits at /a"},
        {"{\"a\": -2147483649}", "beyond 32 bits"},
        {"{\"a\": {\"$bytes\": \"@@@=\"}}", "not base64 at /a"},
        {"{\"a\": {\"$bytes\": 5}}", "not base64"},
        {"{\"a\": 1, \"a\": 2}", "a key given twice at /a"},
        {deep, ""},  // refused, not a crash
    };
    for (const auto& [stream, reason] : cases) {
        try {
            streams.ReadStream(stream);
            ADD_FAILURE() << "accepted " << stream.substr(0, 40);
        } catch (const host::HostError& e) {
            EXPECT_NE(std::string(e.what()).find(reason), std::string::npos)
                << stream.substr(0, 40) << ": " << e.what();
        }
    }
}

}  // namespace
}  // namespace tessera
