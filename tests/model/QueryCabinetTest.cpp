#include "model/QueryCabinet.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

PageQuery Sample() {
    PageQuery q;
    q.Enable = true;
    q.Target = QueryTarget::QueryPageRanges;
    q.ExcludeLastPage = true;
    using enum host::PageElementKind;
    q.PageContentQuery = {TextComment, Image, Stamp};
    q.FirstPageQuery.Pattern = "Chapter \\d+";
    q.FirstPageQuery.UseRegExp = true;
    q.FirstPageQuery.UseAreaFilter = true;
    q.FirstPageQuery.AreaLeft = Fixed16::FromRaw(72 * 65536);
    q.FirstPageQuery.AreaBottom = Fixed16::FromRaw(123457);
    q.LastPageQuery.Pattern = "Summary";
    q.LastPageQuery.MatchCase = true;
    q.LastPageQuery.PrevBreakPage = true;
    return q;
}

TEST(QueryCabinetTest, SaveThenLoadGivesEveryStoredFieldBack) {
    const PageQuery saved = Sample();
    host::Cabinet cabinet;
    cabinet.Put("stale", true);
    SavePageQuery(saved, cabinet);
    EXPECT_FALSE(cabinet.Has("stale")) << "saving empties the cabinet first";
    PageQuery loaded;
    loaded.Results = {4, 5};
    LoadPageQuery(cabinet, loaded);
    EXPECT_EQ(loaded.Results, (std::vector<std::int32_t>{4, 5})) << "found pages are never stored nor touched";
    loaded.Results.clear();
    EXPECT_EQ(loaded, saved);
}

TEST(QueryCabinetTest, NoElementKindsMeansNoArray) {
    host::Cabinet cabinet;
    SavePageQuery(PageQuery{}, cabinet);
    EXPECT_FALSE(cabinet.Has("PageAttributeArray"));
    PageQuery loaded = Sample();
    LoadPageQuery(cabinet, loaded);
    EXPECT_TRUE(loaded.PageContentQuery.empty());
}

TEST(QueryCabinetTest, LoadRules) {
    host::Cabinet cabinet;
    SavePageQuery(Sample(), cabinet);
    host::Cabinet kinds;
    for (int i = 0; i < 101; ++i) kinds.Put(std::to_string(i), std::int32_t{3});
    cabinet.PutCabinet("PageAttributeArray", kinds);
    cabinet.Put("NumAttributes", std::int32_t{101});
    PageQuery q;
    EXPECT_THROW(LoadPageQuery(cabinet, q), CabinetRefusal) << "more than 100 element kinds";
    cabinet.Put("NumAttributes", std::int32_t{100});
    EXPECT_NO_THROW(LoadPageQuery(cabinet, q));
    EXPECT_EQ(q.PageContentQuery.size(), 100u);

    host::Cabinet missing;
    SavePageQuery(Sample(), missing);
    missing.Remove("LastPageQuery");
    EXPECT_THROW(LoadPageQuery(missing, q), CabinetRefusal);
    missing.Remove("PageAttributeArray");
    EXPECT_THROW(LoadPageQuery(missing, q), CabinetRefusal) << "kinds counted but no array";

    host::Cabinet text;
    text.Put("AreaLeft", 72.0);
    text.Put("AreaTop", 10.00001);
    TextQuery t;
    t.Pattern = "old";
    LoadTextQuery(text, t);
    EXPECT_EQ(t.AreaLeft.Raw(), 72 * 65536);
    EXPECT_EQ(t.AreaTop.Raw(), 10 * 65536 + 1);
    EXPECT_EQ(t.Pattern, "") << "emptied when the cabinet has none";
}

}  // namespace
}  // namespace tessera
