#include "model/QueryCabinet.h"

#include <string>

namespace tessera {
namespace {

constexpr int kMaxElementKinds = 100;

bool Flag(const host::Cabinet& c, const char* key) { return c.Get<bool>(key).value_or(false); }

}  // namespace

void SaveTextQuery(const TextQuery& q, host::Cabinet& c) {
    c.Clear();
    c.Put("PrevBreakPage", q.PrevBreakPage);
    c.Put("UseRegExp", q.UseRegExp);
    c.Put("MatchCase", q.MatchCase);
    c.Put("WholeWords", q.WholeWords);
    c.Put("Pattern", q.Pattern);
    c.Put("UseAreaFilter", q.UseAreaFilter);
    c.Put("AreaLeft", q.AreaLeft.Real());
    c.Put("AreaRight", q.AreaRight.Real());
    c.Put("AreaTop", q.AreaTop.Real());
    c.Put("AreaBottom", q.AreaBottom.Real());
}

void LoadTextQuery(const host::Cabinet& c, TextQuery& q) {
    q.UseRegExp = Flag(c, "UseRegExp");
    q.MatchCase = Flag(c, "MatchCase");
    q.WholeWords = Flag(c, "WholeWords");
    q.PrevBreakPage = Flag(c, "PrevBreakPage");
    q.UseAreaFilter = Flag(c, "UseAreaFilter");
    q.AreaLeft = Fixed16::FromRealAddingHalf(c.Get<double>("AreaLeft").value_or(0.0));
    q.AreaRight = Fixed16::FromRealAddingHalf(c.Get<double>("AreaRight").value_or(0.0));
    q.AreaTop = Fixed16::FromRealAddingHalf(c.Get<double>("AreaTop").value_or(0.0));
    q.AreaBottom = Fixed16::FromRealAddingHalf(c.Get<double>("AreaBottom").value_or(0.0));
    q.Pattern = c.Get<std::string>("Pattern").value_or("");
}

void SavePageQuery(const PageQuery& q, host::Cabinet& c) {
    c.Clear();
    c.Put("Enable", q.Enable);
    c.Put("ExcludeLastPage", q.ExcludeLastPage);
    c.Put("Target", static_cast<std::int32_t>(q.Target));
    c.Put("NumAttributes", static_cast<std::int32_t>(q.PageContentQuery.size()));
    if (!q.PageContentQuery.empty()) {
        host::Cabinet kinds;
        for (std::size_t i = 0; i < q.PageContentQuery.size(); ++i)
            kinds.Put(std::to_string(i), static_cast<std::int32_t>(q.PageContentQuery[i]));
        c.PutCabinet("PageAttributeArray", kinds);
    }
    host::Cabinet text;
    SaveTextQuery(q.FirstPageQuery, text);
    c.PutCabinet("FirstPageQuery", text);
    SaveTextQuery(q.LastPageQuery, text);
    c.PutCabinet("LastPageQuery", text);
}

bool LoadPageQuery(const host::Cabinet& c, PageQuery& q) {
    q.Enable = Flag(c, "Enable");
    q.ExcludeLastPage = Flag(c, "ExcludeLastPage");
    q.Target = static_cast<QueryTarget>(c.Get<std::int32_t>("Target").value_or(0));
    q.PageContentQuery.clear();
    const std::int32_t count = c.Get<std::int32_t>("NumAttributes").value_or(0);
    if (count > kMaxElementKinds) return false;
    if (count > 0) {
        const host::Cabinet* kinds = c.GetCabinet("PageAttributeArray");
        if (!kinds) return false;
        for (std::int32_t i = 0; i < count; ++i)
            q.PageContentQuery.push_back(
                static_cast<host::PageElementKind>(kinds->Get<std::int32_t>(std::to_string(i)).value_or(0)));
    }
    const host::Cabinet* first = c.GetCabinet("FirstPageQuery");
    const host::Cabinet* last = c.GetCabinet("LastPageQuery");
    if (!first || !last) return false;
    LoadTextQuery(*first, q.FirstPageQuery);
    LoadTextQuery(*last, q.LastPageQuery);
    return true;
}

}  // namespace tessera
