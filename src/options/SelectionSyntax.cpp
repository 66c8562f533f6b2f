#include "options/SelectionSyntax.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <stdexcept>

#include "model/ElementKindTable.h"
#include "strings/WinAnsiText.h"

namespace tessera {
namespace {

struct SyntaxError : std::runtime_error {
    SyntaxError(std::size_t column, const std::string& what) : std::runtime_error(what), column(column) {}
    std::size_t column;
};

class Parser {
public:
    Parser(std::string_view text, int pageCount, const TextQuery& query)
        : text_(text), pageCount_(pageCount), query_(query) {}

    std::vector<PageRange> Parse() {
        std::vector<PageRange> ranges;
        do {
            ranges.push_back(Item());
        } while (Accept(','));
        if (pos_ != text_.size()) throw SyntaxError(pos_, "expected \",\" between items");
        return ranges;
    }

private:
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    bool Accept(char c) {
        if (Peek() != c) return false;
        ++pos_;
        return true;
    }
    bool LooksAt(std::string_view word) const { return text_.substr(pos_, word.size()) == word; }
    bool Accept(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }

    PageRange Item() {
        PageRange range = Peek() == '/' ? QueryItem() : Peek() == '@' ? ContentItem() : PagesItem();
        if (Accept(":mark")) Mark(range);
        return range;
    }

    // ":mark/TEXT/": the item's own watermark, drawn as the run's options say.
    void Mark(PageRange& range) {
        const std::size_t start = pos_;
        const std::string text = Text();
        if (const std::optional<std::string> missing = FirstCharacterOutsideWinAnsi(text))
            throw SyntaxError(start, "\"" + *missing +
                                         "\" cannot be drawn in the watermark's font, which has only "
                                         "the characters of Windows-1252");
        SetWatermark(range, {.Text = text});
    }

    // A 1-based page: a number, "z", or "rN" counted from the end.
    int Page() {
        const std::size_t start = pos_;
        if (Accept('z')) return pageCount_;
        const bool fromEnd = Accept('r');
        int value = 0;
        const auto [end, error] = std::from_chars(text_.data() + pos_, text_.data() + text_.size(), value);
        if (error == std::errc::result_out_of_range) throw SyntaxError(start, "the page number is too large");
        if (error != std::errc() || end == text_.data() + pos_)
            throw SyntaxError(start, "expected a page number, z, r<number> or /text/");
        pos_ = static_cast<std::size_t>(end - text_.data());
        const int page = fromEnd ? pageCount_ + 1 - value : value;
        if (page < 1 || page > pageCount_)
            throw SyntaxError(start, "page " + std::string(text_.substr(start, pos_ - start)) +
                                         " is not in the document, which has " + std::to_string(pageCount_) + " pages");
        return page;
    }

    PageRange PagesItem() {
        const int first = Page();
        const int last = Accept('-') ? Page() : first;
        PageRangeFlags options;
        if (first > last) options.Set(PageRangeFlag::ReverseOrder);
        while (!LooksAt(":mark") && Accept(':')) {
            if (Accept("odd"))
                options.Set(PageRangeFlag::OddPages);
            else if (Accept("even"))
                options.Set(PageRangeFlag::EvenPages);
            else
                throw SyntaxError(pos_, "expected odd or even after \":\"");
        }
        return MakePageRange(std::min(first, last) - 1, std::abs(last - first) + 1, options);
    }

    // The text between slashes; "\/" stands for "/".
    std::string Text() {
        const std::size_t start = pos_;
        if (!Accept('/')) throw SyntaxError(pos_, "expected \"/\" before a text");
        std::string out;
        while (!AtEnd() && Peek() != '/') {
            if (Peek() == '\\' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') ++pos_;
            out += text_[pos_++];
        }
        if (!Accept('/')) throw SyntaxError(start, "the text has no closing \"/\"");
        if (out.empty()) throw SyntaxError(start, "the text between the slashes is empty");
        return out;
    }

    TextQuery Query(std::string pattern) const {
        TextQuery q = query_;
        q.Pattern = std::move(pattern);
        return q;
    }

    PageRange QueryItem() {
        PageRange range;
        range.Query.Enable = true;
        range.Query.FirstPageQuery = Query(Text());
        range.Query.Target = QueryTarget::QueryPageSet;
        if (Accept('1')) {
            range.Query.Target = QueryTarget::QuerySinglePage;
        } else if (Accept("..")) {
            range.Query.ExcludeLastPage = Accept('<');
            range.Query.Target = QueryTarget::QueryPageRanges;
            range.Query.LastPageQuery = Query(Text());
        }
        return range;
    }

    // "@image+link": the pages holding every kind named.
    PageRange ContentItem() {
        Accept('@');
        std::vector<host::PageElementKind> kinds;
        do {
            const std::size_t start = pos_;
            while (!AtEnd() && (std::islower(static_cast<unsigned char>(Peek())) || Peek() == '-')) ++pos_;
            const std::string_view word = text_.substr(start, pos_ - start);
            const std::optional<host::PageElementKind> kind = ContentKindForWord(word);
            if (!kind)
                throw SyntaxError(start, word.empty() ? "expected a kind of page content after \"@\""
                                                      : "\"" + std::string(word) + "\" is not a kind of page content");
            kinds.push_back(*kind);
        } while (Accept('+'));
        PageRange range;
        range.Query.Enable = true;
        range.Query.Target = QueryTarget::QueryPageContent;
        range.Query.PageContentQuery = InQueryOrder(kinds);
        return range;
    }

    std::string_view text_;
    int pageCount_;
    const TextQuery& query_;
    std::size_t pos_ = 0;
};

}  // namespace

Result<std::vector<PageRange>> ParseSelection(std::string_view text, int pageCount, const TextQuery& query) {
    try {
        return Parser(text, pageCount, query).Parse();
    } catch (const SyntaxError& e) {
        return Failure{"in \"" + std::string(text) + "\" at column " + std::to_string(e.column + 1) + ": " + e.what()};
    }
}

}  // namespace tessera
