#include "model/QueryCabinet.h"

#include <string>

namespace tessera {
namespace {

constexpr int kMaxElementKinds = 100;

}  // namespace

void SaveTextQuery(const TextQuery& q, host::Cabinet& c) {
    c.Clear();
    c.Put("PrevBreakPage", q.PrevBreakPage);
    c.Put("UseRegExp", q.UseRegExp);
    c.Put("MatchCase", q.MatchCase);
    c.Put("WholeWords", q.WholeWords);
    c.Put("Pattern", q.Pattern);
    c.Put("UseAreaFilter", q.UseAreaFilter);
    c.Put("AreaLeft", q.Area.left.Real());
    c.Put("AreaRight", q.Area.right.Real());
    c.Put("AreaTop", q.Area.top.Real());
    c.Put("AreaBottom", q.Area.bottom.Real());
}

void LoadTextQuery(const CabinetReader& c, TextQuery& q) {
    q.UseRegExp = c.Flag("UseRegExp", false);
    q.MatchCase = c.Flag("MatchCase", false);
    q.WholeWords = c.Flag("WholeWords", false);
    q.PrevBreakPage = c.Flag("PrevBreakPage", false);
    q.UseAreaFilter = c.Flag("UseAreaFilter", false);
    q.Area.left = Fixed16::FromRealAddingHalf(c.Real("AreaLeft", 0.0));
    q.Area.right = Fixed16::FromRealAddingHalf(c.Real("AreaRight", 0.0));
    q.Area.top = Fixed16::FromRealAddingHalf(c.Real("AreaTop", 0.0));
    q.Area.bottom = Fixed16::FromRealAddingHalf(c.Real("AreaBottom", 0.0));
    q.Pattern = c.Text("Pattern");
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

void LoadPageQuery(const CabinetReader& c, PageQuery& q) {
    q.Enable = c.Flag("Enable", false);
    q.ExcludeLastPage = c.Flag("ExcludeLastPage", false);
    q.Target = static_cast<QueryTarget>(c.Integer("Target", 0));
    q.PageContentQuery.clear();
    const std::int32_t count = c.Integer("NumAttributes", 0);
    if (count > kMaxElementKinds) c.Refuse("NumAttributes", "is " + std::to_string(count) + ", more than 100");
    if (count > 0) {
        const CabinetReader kinds = c.Required("PageAttributeArray");
        for (std::int32_t i = 0; i < count; ++i)
            q.PageContentQuery.push_back(static_cast<host::PageElementKind>(kinds.Integer(std::to_string(i), 0)));
    }
    const CabinetReader first = c.Required("FirstPageQuery");
    const CabinetReader last = c.Required("LastPageQuery");
    LoadTextQuery(first, q.FirstPageQuery);
    LoadTextQuery(last, q.LastPageQuery);
}

}  // namespace tessera
