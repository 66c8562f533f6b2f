#include "analysis/PatternCheck.h"

#include <optional>

#include "analysis/SearchPattern.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

namespace tessera {
namespace {

std::string Problem(const TextQuery& query) {
    if (query.Pattern.empty()) return "";
    const std::optional<PatternError> error = QueryPatternError(query);
    if (!error) return "";
    return FormatText(LookupString("IDS_INVALID_SEARCH_PATTERN",
                                   "The search pattern \"%s\" is not valid: %s (at offset %d)."),
                      {query.Pattern, error->message, static_cast<std::int64_t>(error->offset)});
}

std::string FirstProblem(const OutputList& outputs) {
    for (const OutputDocument& output : outputs)
        for (const PageRange& range : output.Ranges) {
            const PageQuery& q = range.Query;
            if (!q.Enable || q.Target == QueryTarget::QueryPageContent) continue;
            std::string problem = Problem(q.FirstPageQuery);
            if (problem.empty() && q.Target == QueryTarget::QueryPageRanges) problem = Problem(q.LastPageQuery);
            if (!problem.empty()) return problem;
        }
    return "";
}

}  // namespace

std::string InvalidPatternMessage(const SplitSettings& settings, const OutputList& outputs) {
    const bool byText = settings.Output.SeparatorType == SeparatorKind::PageMatchingText;
    if (settings.SplitMode == SplitMethod::SeparatorPages && byText) {
        std::string problem = Problem(settings.Output.SeparatorQuery);
        if (!problem.empty()) return problem;
    }
    if (settings.SplitMode != SplitMethod::ManualRanges) return "";
    std::string problem = FirstProblem(outputs);
    return problem.empty() ? FirstProblem(settings.Outputs) : problem;
}

}  // namespace tessera
