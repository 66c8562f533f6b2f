#include "reading/PageKeyReader.h"

#include <cmath>

#include "access/Host.h"
#include "reading/ShownPageSize.h"
#include "strings/Utf8Text.h"

namespace tessera {
namespace {

// Words one blank apart, none at either end.
std::string CollapsedBlanks(std::string_view text) {
    std::string out;
    bool blank = false;
    for (const char c : text) {
        const bool isBlank = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
        if (isBlank)
            blank = !out.empty();
        else
            out += blank ? std::string(" ") + c : std::string(1, c), blank = false;
    }
    return out;
}

// The groups a key is made of: the whole match where the pattern has none.
std::string JoinedGroups(const SearchPattern::Captures& found) {
    if (found.numbered.size() < 2) return found.numbered[0];
    std::string key;
    for (std::size_t i = 1; i < found.numbered.size(); ++i)
        if (!found.numbered[i].empty()) key += (key.empty() ? "" : " ") + found.numbered[i];
    return key;
}

// The size as shown, in whole points: the crop box, which a viewer shows
// (the media box where none is set), with turned pages' sides swapped.
std::string SizeKey(const DocumentHandle& document, int page) {
    const ShownSize size = ShownPageSize(document, page);
    return std::to_string(std::lround(size.width)) + "x" + std::to_string(std::lround(size.height));
}

// Codes are read from pixels, never from text.
OcrSettings NoOcr() {
    OcrSettings none;
    none.Mode = OcrMode::Never;
    return none;
}

SearchPattern::Captures Key(std::string text) {
    SearchPattern::Captures key;
    key.numbered.push_back(std::move(text));
    return key;
}

}  // namespace

std::string OcrSteadied(std::string_view value) {
    static const std::string_view kConfused[] = {".", ",",      ":",      ";",      "'",      "`",     "\"",
                                                 "|", "\u2018", "\u2019", "\u201C", "\u201D", "\u00B7"};
    std::string out;
    bool gap = false;
    for (std::size_t at = 0; at < value.size();) {
        const char c = value[at];
        std::size_t length = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v' ? 1 : 0;
        for (const std::string_view mark : kConfused)
            if (!length && value.substr(at, mark.size()) == mark) length = mark.size();
        if (length) {
            gap = !out.empty();
            at += length;
            continue;
        }
        if (gap) out += ' ';
        gap = false;
        out += c;
        ++at;
    }
    return out;
}

std::string LabelPrefix(std::string_view label) {
    std::size_t end = label.size();
    while (end > 0 && label[end - 1] >= '0' && label[end - 1] <= '9') --end;
    if (end < label.size()) return std::string(label.substr(0, end)) + "#1";
    // A label of roman numerals only is a number of its own kind.
    const bool roman = !label.empty() && label.find_first_not_of("ivxlcdm") == std::string_view::npos;
    const bool upperRoman = !label.empty() && label.find_first_not_of("IVXLCDM") == std::string_view::npos;
    return roman ? "#i" : upperRoman ? "#I" : std::string(label);
}

PageKeyReader::PageKeyReader(const DocumentHandle& document, ChangeKeyKind kind, const TextQuery& query,
                             const OcrSettings& ocr, unsigned threads)
    : document_(document), kind_(kind), query_(query), extractor_(ocr) {
    if (kind == ChangeKeyKind::PatternMatch) {
        TextQuery regex = query;
        regex.UseRegExp = true;
        ready_ = CompileTextQuery(pattern_, regex);
    }
    if (kind == ChangeKeyKind::PatternMatch || kind == ChangeKeyKind::AreaText)
        ready_ = ready_ && extractor_.Attach(document, threads);
}

PageKeyReader::PageKeyReader(const DocumentHandle& document, const TextQuery& query, unsigned codeKinds, bool anywhere)
    : document_(document),
      kind_(ChangeKeyKind::PatternMatch),
      query_(query),
      extractor_(NoOcr()),
      codeKinds_(codeKinds),
      anywhere_(anywhere) {
    TextQuery regex = query;
    regex.UseRegExp = true;
    ready_ = (query.Pattern.empty() || CompileTextQuery(pattern_, regex)) && pixels_.Attach(document);
}

std::optional<SearchPattern::Captures> PageKeyReader::Code(int page) {
    const host::PageCodeSet found = pixels_.Codes(page, codeKinds_);
    if (!pattern_.IsCompiled() && !anywhere_ && found.inkOutside > kMostInkBesideCodes) return std::nullopt;
    for (const std::string& code : found.codes) {
        if (!pattern_.IsCompiled()) return Key(code);
        if (std::optional<SearchPattern::Captures> found = pattern_.FirstMatch(code)) {
            found->numbered[0] = code;
            return found;
        }
    }
    return std::nullopt;
}

std::optional<std::string> PageKeyReader::Words(int page, bool useArea) {
    if (!extractor_.Extract(page, query_.Area, useArea)) return std::nullopt;
    return extractor_.Text();
}

std::string PageKeyReader::Steadied(const std::string& value) const {
    return extractor_.OcrConfidence() ? OcrSteadied(value) : CollapsedBlanks(value);
}

std::optional<SearchPattern::Captures> PageKeyReader::Read(int page) {
    ocrConfidence_.reset();
    if (codeKinds_ != 0) return Code(page);
    switch (kind_) {
        case ChangeKeyKind::AreaText: {
            const std::string key = Steadied(Words(page, true).value_or(""));
            ocrConfidence_ = extractor_.OcrConfidence();
            return key.empty() ? std::nullopt : std::optional(Key(key));
        }
        case ChangeKeyKind::PatternMatch: {
            std::optional<SearchPattern::Captures> found =
                pattern_.FirstMatch(Words(page, query_.UseAreaFilter).value_or(""));
            // How sure OCR was of the words the match was made of.
            if (found) ocrConfidence_ = extractor_.OcrConfidence(found->start, found->end);
            if (found) found->numbered[0] = Steadied(JoinedGroups(*found));
            return found && !found->numbered[0].empty() ? found : std::nullopt;
        }
        case ChangeKeyKind::LabelPrefix:
            return Key(LabelPrefix(Host().documents->PageLabel(document_.Doc(), page)));
        case ChangeKeyKind::PageSize:
            return Key(SizeKey(document_, page));
    }
    return std::nullopt;
}

}  // namespace tessera
