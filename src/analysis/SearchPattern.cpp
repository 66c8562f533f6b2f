#include "analysis/SearchPattern.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <cstring>

namespace tessera {
namespace {

// Enough for any sensible search of a page; a catastrophic pattern stops here
// within milliseconds.
constexpr std::uint32_t kMatchLimit = 5'000'000;
constexpr std::uint32_t kDepthLimit = 100'000;
constexpr std::uint32_t kCompileOptions = PCRE2_UTF | PCRE2_UCP | PCRE2_MATCH_INVALID_UTF;

}  // namespace

SearchPattern::~SearchPattern() { Release(); }

void SearchPattern::Release() {
    pcre2_match_context_free(context_);
    pcre2_match_data_free(data_);
    pcre2_code_free(code_);
    context_ = nullptr;
    data_ = nullptr;
    code_ = nullptr;
}

bool SearchPattern::Compile(const std::string& pattern, bool caseless) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                                     kCompileOptions | (caseless ? PCRE2_CASELESS : 0), &error, &offset, nullptr);
    if (!code) return false;
    Release();
    code_ = code;
    pcre2_jit_compile(code_, PCRE2_JIT_COMPLETE);  // interpreted when JIT is not available
    data_ = pcre2_match_data_create_from_pattern(code_, nullptr);
    context_ = pcre2_match_context_create(nullptr);
    pcre2_set_match_limit(context_, kMatchLimit);
    pcre2_set_depth_limit(context_, kDepthLimit);
    text_ = pattern;
    return true;
}

MatchResult SearchPattern::Find(std::string_view text) const {
    if (!code_ || text.empty()) return MatchResult::NoMatch;
    const int rc = pcre2_match(code_, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), 0, PCRE2_NOTEMPTY,
                               data_, context_);
    if (rc >= 0) return MatchResult::Match;
    if (rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT || rc == PCRE2_ERROR_HEAPLIMIT ||
        rc == PCRE2_ERROR_JIT_STACKLIMIT)
        return MatchResult::TooComplex;
    return MatchResult::NoMatch;
}

std::string EscapePlainText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (std::strchr("[\\^$.|?*+()", c) && c != '\0') out += '\\';
        out += c;
    }
    return out;
}

bool CompileTextQuery(SearchPattern& pattern, const TextQuery& query) {
    std::string text = query.UseRegExp ? query.Pattern : EscapePlainText(query.Pattern);
    if (query.WholeWords) text = "\\b(" + text + ")\\b";
    return pattern.Compile(text, !query.MatchCase);
}

bool ValidatePattern(const std::string& text) { return SearchPattern().Compile(text, false); }

}  // namespace tessera
