#include "reading/PageKeyReader.h"

#include <cmath>

#include "access/Host.h"
#include "access/OwnedId.h"
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
std::string ShownSize(const DocumentHandle& document, int page) {
    const OwnedPage held(Host().pages->AcquirePage(document.Doc(), page));
    const host::Rect box = Host().pages->CropBox(held.Get());
    const bool turned = Host().pages->Rotation(held.Get()) % 180 != 0;
    const long width = std::lround(std::fabs(box.right - box.left)),
               height = std::lround(std::fabs(box.top - box.bottom));
    return turned ? std::to_string(height) + "x" + std::to_string(width)
                  : std::to_string(width) + "x" + std::to_string(height);
}

SearchPattern::Captures Key(std::string text) { return {{std::move(text)}, {}}; }

}  // namespace

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
                             unsigned threads)
    : document_(document), kind_(kind), query_(query) {
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

std::optional<SearchPattern::Captures> PageKeyReader::Read(int page) {
    if (codeKinds_ != 0) return Code(page);
    switch (kind_) {
        case ChangeKeyKind::AreaText: {
            const std::string key = CollapsedBlanks(Words(page, true).value_or(""));
            return key.empty() ? std::nullopt : std::optional(Key(key));
        }
        case ChangeKeyKind::PatternMatch: {
            std::optional<SearchPattern::Captures> found =
                pattern_.FirstMatch(Words(page, query_.UseAreaFilter).value_or(""));
            if (found) found->numbered[0] = CollapsedBlanks(JoinedGroups(*found));
            return found && !found->numbered[0].empty() ? found : std::nullopt;
        }
        case ChangeKeyKind::LabelPrefix:
            return Key(LabelPrefix(Host().documents->PageLabel(document_.Doc(), page)));
        case ChangeKeyKind::PageSize:
            return Key(ShownSize(document_, page));
    }
    return std::nullopt;
}

}  // namespace tessera
