#pragma once
// One compiled Perl-compatible pattern. Page text is UTF-8, so patterns are
// compiled in UTF mode with Unicode properties: whole-word and caseless
// searches then work for words with letters beyond ASCII, and ASCII text
// matches exactly as it would byte by byte.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/TextQuery.h"

struct pcre2_real_code_8;
struct pcre2_real_match_data_8;
struct pcre2_real_match_context_8;
struct pcre2_real_jit_stack_8;

namespace tessera {

enum class MatchResult { NoMatch, Match, TooComplex, Failed };

// Hands each PCRE2 object back to its own free function.
struct Pcre2Free {
    void operator()(pcre2_real_code_8* code) const;
    void operator()(pcre2_real_match_data_8* data) const;
    void operator()(pcre2_real_match_context_8* context) const;
    void operator()(pcre2_real_jit_stack_8* stack) const;
};
template <class T>
using Pcre2Ptr = std::unique_ptr<T, Pcre2Free>;

class SearchPattern {
public:
    SearchPattern() = default;
    SearchPattern(const SearchPattern&) = delete;
    SearchPattern& operator=(const SearchPattern&) = delete;

    // False when the pattern does not compile; the previous program is kept then.
    bool Compile(const std::string& pattern, bool caseless);
    // A non-empty match anywhere in the text. A pattern that would run away
    // ends at a step limit with TooComplex instead of hanging; one that PCRE2
    // cannot match at all (a recursion that could loop) is Failed, and
    // FailureText says why.
    MatchResult Find(std::string_view text) const;
    // The first match's groups: [0] the whole match, then each numbered
    // group (empty where it took no part); named groups by name too. None
    // where Find finds nothing.
    struct Captures {
        std::vector<std::string> numbered;
        std::map<std::string, std::string, std::less<>> named;
        std::size_t start = 0, end = 0;  // where the whole match lies in the text
    };
    std::optional<Captures> FirstMatch(std::string_view text) const;
    const std::string& FailureText() const { return failure_; }
    // The names of the pattern's named groups.
    std::vector<std::string> GroupNames() const;
    bool IsCompiled() const { return code_ != nullptr; }
    const std::string& Text() const { return text_; }

private:
    void ForEachNamedGroup(const std::function<void(std::size_t group, const char* name)>& take) const;
    int Run(std::string_view text, std::uint32_t options) const;

    std::string text_;
    Pcre2Ptr<pcre2_real_code_8> code_;
    Pcre2Ptr<pcre2_real_match_data_8> data_;
    Pcre2Ptr<pcre2_real_match_context_8> context_;
    mutable Pcre2Ptr<pcre2_real_jit_stack_8> stack_;  // made on the first page that needs it
    mutable std::uint64_t stepsLeft_ = 0;             // of the search under way
    mutable std::string failure_;
};

// Puts a backslash before each of the characters [\^$.|?*+() .
std::string EscapePlainText(std::string_view text);
// The query's pattern: escaped unless it is a regular expression, wrapped in
// \b(...)\b for whole words, caseless unless the case must match.
bool CompileTextQuery(SearchPattern& pattern, const TextQuery& query);
// Whether the text compiles as it stands.
bool ValidatePattern(const std::string& text);

// Why a pattern does not compile: PCRE2's message and the offset in the text.
struct PatternError {
    std::string message;
    std::size_t offset = 0;
};
std::optional<PatternError> PatternErrorOf(const std::string& text);
// Why the query's pattern does not compile, the offset counted in the
// pattern as the user wrote it; none when it compiles.
std::optional<PatternError> QueryPatternError(const TextQuery& query);
// The named groups of a regular expression; none where it does not compile.
std::vector<std::string> RegexGroupNames(const std::string& pattern);

}  // namespace tessera
