#include "ui/RangeDescription.h"

#include "model/ElementKindTable.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

namespace tessera {

std::string DescribePageRange(const PageRange& range) {
    if (range.Query.Enable) return DescribePageQuery(range.Query);
    const std::string unit = LookupString(range.NumActualPages == 1 ? "IDS_PAGE" : "IDS_PAGES");
    const char* key = range.Options.EvenOnly()  ? "IDS_FORMAT_EVEN_PAGES_FROM"
                      : range.Options.OddOnly() ? "IDS_FORMAT_ODD_PAGES_FROM"
                                                : "IDS_FORMAT_ALL_PAGES_FROM";
    std::string text = FormatText(LookupString(key),
                                  {std::int64_t{range.StartPage} + 1, std::int64_t{range.StartPage} + range.NumPages,
                                   std::int64_t{range.NumActualPages}, unit});
    if (range.Options.Has(PageRangeFlag::ReverseOrder)) text += ", " + LookupString("IDS_REVERSE_ORDER");
    if (range.Watermark) text += ", " + LookupString("IDS_WATERMARK") + ": " + range.Watermark->Text;
    return range.SubTitle + text;
}

std::string DescribePageQuery(const PageQuery& query) {
    const std::string quote = "\"";
    std::string kind;
    std::string match = LookupString("IDS_MATCHING") + " ";
    using enum QueryTarget;
    switch (query.Target) {
        case QueryPageSet:
            kind = LookupString("IDS_SET_OF_PAGES");
            match += quote + query.FirstPageQuery.Pattern + quote;
            break;
        case QueryPageContent: {
            kind = LookupString("IDS_SET_OF_PAGES_CONTAINING_SC") + " ";
            for (std::size_t i = 0; i < query.PageContentQuery.size(); ++i)
                kind += (i ? ", " : "") + ElementKindName(query.PageContentQuery[i]);
            match.clear();
            break;
        }
        case QueryPageRanges:
            kind = LookupString("IDS_PAGE_RANGE");
            match += quote + query.FirstPageQuery.Pattern + quote + " " + LookupString("IDS_AND") + " " + quote +
                     query.LastPageQuery.Pattern + quote;
            break;
        default:
            kind = LookupString("IDS_SINGLE_PAGE");
            match += quote + query.FirstPageQuery.Pattern + quote;
            break;
    }
    return LookupString("IDS_QUERY") + " " + kind + " " + match;
}

std::string ElementKindName(host::PageElementKind kind) {
    for (const ElementKindRow& row : ElementKindRows())
        if (row.kind == kind) return LookupString(row.nameKey, row.englishName);
    return LookupString("IDS_ELEMENT");
}

}  // namespace tessera
