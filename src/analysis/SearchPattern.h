#pragma once
// One compiled Perl-compatible pattern. Page text is UTF-8, so patterns are
// compiled in UTF mode with Unicode properties: whole-word and caseless
// searches then work for words with letters beyond ASCII, and ASCII text
// matches exactly as it would byte by byte.
#include <string>
#include <string_view>

#include "model/TextQuery.h"

struct pcre2_real_code_8;
struct pcre2_real_match_data_8;
struct pcre2_real_match_context_8;

namespace tessera {

enum class MatchResult { NoMatch, Match, TooComplex };

class SearchPattern {
public:
    SearchPattern() = default;
    ~SearchPattern();
    SearchPattern(const SearchPattern&) = delete;
    SearchPattern& operator=(const SearchPattern&) = delete;

    // False when the pattern does not compile; the previous program is kept then.
    bool Compile(const std::string& pattern, bool caseless);
    // A non-empty match anywhere in the text. A pattern that would run away
    // ends at a step limit with TooComplex instead of hanging.
    MatchResult Find(std::string_view text) const;
    bool IsCompiled() const { return code_ != nullptr; }
    const std::string& Text() const { return text_; }

private:
    void Release();

    std::string text_;
    pcre2_real_code_8* code_ = nullptr;
    pcre2_real_match_data_8* data_ = nullptr;
    pcre2_real_match_context_8* context_ = nullptr;
};

// Puts a backslash before each of the characters [\^$.|?*+() .
std::string EscapePlainText(std::string_view text);
// The query's pattern: escaped unless it is a regular expression, wrapped in
// \b(...)\b for whole words, caseless unless the case must match.
bool CompileTextQuery(SearchPattern& pattern, const TextQuery& query);
// Whether the text compiles as it stands.
bool ValidatePattern(const std::string& text);

}  // namespace tessera
