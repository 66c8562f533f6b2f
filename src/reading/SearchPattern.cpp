#include "reading/SearchPattern.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <cstring>

namespace tessera {
namespace {

// Enough for any sensible search of a page; a catastrophic pattern stops here
// within milliseconds. The step limit is the only measure of a pattern that is
// too complex: the memory limits are far beyond what a page's text needs, so
// a simple pattern on a long page never fails for want of memory.
constexpr std::uint32_t kMatchLimit = 5'000'000;
constexpr std::uint32_t kHeapLimitKiB = 256 * 1024;
// The compiled program keeps one stack frame per repeat of a group, so a
// pattern such as (.|\s)* needs some 20 bytes per character of page text and
// overflows PCRE2's default 32 KiB from about 1,500 characters. This stack is
// reserved only when that happens; the interpreter, whose frames are on the
// heap, takes over for longer texts still.
constexpr std::size_t kJitStackStart = 64 * 1024;
constexpr std::size_t kJitStackMax = 8 * 1024 * 1024;
// PCRE2 counts its step limit afresh at every start position, so a pattern
// that scans to the end of the text from each start takes time that grows
// with the square of the text's length and never meets that limit. Automatic
// callouts, made before each item the matcher tries, count the steps of one
// search over all start positions; a linear search of a page takes a few per
// character, so the budget grows with the page and only a runaway ends there.
constexpr std::uint32_t kCompileOptions = PCRE2_UTF | PCRE2_UCP | PCRE2_MATCH_INVALID_UTF | PCRE2_AUTO_CALLOUT;
constexpr std::uint64_t kSearchSteps = 10'000'000;
constexpr std::uint64_t kSearchStepsPerByte = 100;

int CountStep(pcre2_callout_block* /*block*/, void* stepsLeft) {
    std::uint64_t& left = *static_cast<std::uint64_t*>(stepsLeft);
    if (left == 0) return PCRE2_ERROR_CALLOUT;
    --left;
    return 0;
}

Pcre2Ptr<pcre2_code> CompileCode(const std::string& pattern, bool caseless, int& error, PCRE2_SIZE& offset) {
    return Pcre2Ptr<pcre2_code>(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                                              kCompileOptions | (caseless ? PCRE2_CASELESS : 0), &error, &offset,
                                              nullptr));
}

std::string QueryPatternText(const TextQuery& query) {
    std::string text = query.UseRegExp ? query.Pattern : EscapePlainText(query.Pattern);
    if (query.WholeWords) text = "\\b(" + text + ")\\b";
    return text;
}

}  // namespace

void Pcre2Free::operator()(pcre2_code* code) const { pcre2_code_free(code); }
void Pcre2Free::operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
void Pcre2Free::operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
void Pcre2Free::operator()(pcre2_jit_stack* stack) const { pcre2_jit_stack_free(stack); }

bool SearchPattern::Compile(const std::string& pattern, bool caseless) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    Pcre2Ptr<pcre2_code> code = CompileCode(pattern, caseless, error, offset);
    if (!code) return false;
    stack_.reset();  // it served the previous program's context
    code_ = std::move(code);
    pcre2_jit_compile(code_.get(), PCRE2_JIT_COMPLETE);  // interpreted when JIT is not available
    data_.reset(pcre2_match_data_create_from_pattern(code_.get(), nullptr));
    context_.reset(pcre2_match_context_create(nullptr));
    pcre2_set_match_limit(context_.get(), kMatchLimit);
    pcre2_set_heap_limit(context_.get(), kHeapLimitKiB);
    pcre2_set_callout(context_.get(), CountStep, &stepsLeft_);
    text_ = pattern;
    return true;
}

MatchResult SearchPattern::Find(std::string_view text) const {
    if (!code_ || text.empty()) return MatchResult::NoMatch;
    int rc = Run(text, 0);
    if (rc == PCRE2_ERROR_JIT_STACKLIMIT && !stack_) {
        stack_.reset(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr));
        if (stack_) {
            pcre2_jit_stack_assign(context_.get(), nullptr, stack_.get());
            rc = Run(text, 0);
        }
    }
    if (rc == PCRE2_ERROR_JIT_STACKLIMIT) rc = Run(text, PCRE2_NO_JIT);
    if (rc >= 0) return MatchResult::Match;
    if (rc == PCRE2_ERROR_NOMATCH) return MatchResult::NoMatch;
    if (rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT || rc == PCRE2_ERROR_HEAPLIMIT ||
        rc == PCRE2_ERROR_CALLOUT)
        return MatchResult::TooComplex;
    PCRE2_UCHAR message[256] = {};
    pcre2_get_error_message(rc, message, sizeof message);
    failure_ = reinterpret_cast<const char*>(message);
    return MatchResult::Failed;
}

std::optional<SearchPattern::Captures> SearchPattern::FirstMatch(std::string_view text) const {
    if (Find(text) != MatchResult::Match) return std::nullopt;
    const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(data_.get());
    const std::uint32_t pairs = pcre2_get_ovector_count(data_.get());
    Captures found;
    found.start = offsets[0];
    found.end = offsets[1];
    for (std::uint32_t i = 0; i < pairs; ++i) {
        const PCRE2_SIZE start = offsets[2 * i], end = offsets[2 * i + 1];
        found.numbered.emplace_back(start == PCRE2_UNSET || end < start ? std::string_view()
                                                                        : text.substr(start, end - start));
    }
    ForEachNamedGroup([&](std::size_t group, const char* name) {
        if (group < found.numbered.size()) found.named[name] = found.numbered[group];
    });
    return found;
}

void SearchPattern::ForEachNamedGroup(const std::function<void(std::size_t, const char*)>& take) const {
    if (!code_) return;
    std::uint32_t names = 0, entrySize = 0;
    PCRE2_SPTR table = nullptr;
    pcre2_pattern_info(code_.get(), PCRE2_INFO_NAMECOUNT, &names);
    pcre2_pattern_info(code_.get(), PCRE2_INFO_NAMEENTRYSIZE, &entrySize);
    pcre2_pattern_info(code_.get(), PCRE2_INFO_NAMETABLE, &table);
    // Each entry: the group's number in two bytes, then its name.
    for (std::uint32_t i = 0; i < names; ++i) {
        const PCRE2_SPTR entry = table + i * entrySize;
        take((static_cast<std::size_t>(entry[0]) << 8) | entry[1], reinterpret_cast<const char*>(entry + 2));
    }
}

std::vector<std::string> SearchPattern::GroupNames() const {
    std::vector<std::string> names;
    ForEachNamedGroup([&](std::size_t, const char* name) { names.emplace_back(name); });
    return names;
}

std::vector<std::string> RegexGroupNames(const std::string& pattern) {
    SearchPattern compiled;
    if (pattern.empty() || !compiled.Compile(pattern, false)) return {};
    return compiled.GroupNames();
}

int SearchPattern::Run(std::string_view text, std::uint32_t options) const {
    stepsLeft_ = kSearchSteps + kSearchStepsPerByte * text.size();
    return pcre2_match(code_.get(), reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), 0, PCRE2_NOTEMPTY | options,
                       data_.get(), context_.get());
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
    return pattern.Compile(QueryPatternText(query), !query.MatchCase);
}

bool ValidatePattern(const std::string& text) { return !PatternErrorOf(text); }

std::optional<PatternError> PatternErrorOf(const std::string& text) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    if (CompileCode(text, false, error, offset)) return std::nullopt;
    PCRE2_UCHAR message[256] = {};
    pcre2_get_error_message(error, message, sizeof message);
    return PatternError{reinterpret_cast<const char*>(message), offset};
}

std::optional<PatternError> QueryPatternError(const TextQuery& query) {
    // A regular expression is checked as written, so the offset points into
    // it; what escaping and the whole-word wrapping add can still spoil it.
    if (query.UseRegExp)
        if (std::optional<PatternError> error = PatternErrorOf(query.Pattern)) return error;
    std::optional<PatternError> error = PatternErrorOf(QueryPatternText(query));
    if (error) error->offset = std::min(error->offset, query.Pattern.size());
    return error;
}

}  // namespace tessera
