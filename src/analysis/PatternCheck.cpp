#include "analysis/PatternCheck.h"

#include <optional>

#include "analysis/SearchPattern.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

namespace tessera {
namespace {

Result<> PatternCompiles(const TextQuery& query) {
    if (query.Pattern.empty()) return {};
    const std::optional<PatternError> error = QueryPatternError(query);
    if (!error) return {};
    return Failure{FormatText(LookupString("IDS_INVALID_SEARCH_PATTERN",
                                           "The search pattern \"%s\" is not valid: %s (at offset %d)."),
                              {query.Pattern, error->message, static_cast<std::int64_t>(error->offset)})};
}

Result<> QueryPatternsCompile(const OutputList& outputs) {
    for (const OutputDocument& output : outputs)
        for (const PageRange& range : output.Ranges) {
            const PageQuery& q = range.Query;
            if (!q.Enable || q.Target == QueryTarget::QueryPageContent) continue;
            if (Result<> first = PatternCompiles(q.FirstPageQuery); !first) return first;
            if (q.Target != QueryTarget::QueryPageRanges) continue;
            if (Result<> last = PatternCompiles(q.LastPageQuery); !last) return last;
        }
    return {};
}

}  // namespace

Result<> PatternsCompile(const SplitSettings& settings, const OutputList& outputs) {
    const bool byText = settings.Output.SeparatorType == SeparatorKind::PageMatchingText;
    if (settings.SplitMode == SplitMethod::SeparatorPages && byText) return PatternCompiles(settings.Output.SeparatorQuery);
    if (settings.SplitMode != SplitMethod::ManualRanges) return {};
    if (Result<> given = QueryPatternsCompile(outputs); !given) return given;
    return QueryPatternsCompile(settings.Outputs);
}

}  // namespace tessera
