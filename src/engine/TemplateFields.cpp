#include "engine/TemplateFields.h"

#include <cstdio>

#include "access/Host.h"
#include "access/ReadOr.h"
#include "strings/Utf8Text.h"

namespace tessera {
namespace {

std::string IsoDate(const std::tm& day) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", (day.tm_year + 1900) % 10000, (day.tm_mon + 1) % 100,
                  day.tm_mday % 100);
    return text;
}

// A bookmark's output carries its title as its name, folders before it.
std::string OwnTitle(const OutputDocument& output) {
    const std::size_t slash = output.Filename.find_last_of("\\/");
    return slash == std::string::npos ? output.Filename : output.Filename.substr(slash + 1);
}

void TakeGroups(const SearchPattern::Captures& found, NameFieldValues& values) {
    if (values.key.empty()) values.key = TrimText(found.numbered[0]);
    for (std::size_t i = 1; i < found.numbered.size() && i <= values.groups.size(); ++i)
        values.groups[i - 1] = TrimText(found.numbered[i]);
    for (const auto& [name, text] : found.named) values.named[name] = TrimText(text);
}

}  // namespace

NameFieldValues TemplateFields(const OutputDocument& output, std::size_t index, TemplateSource& source) {
    NameFieldValues values;
    values.number = static_cast<int>(index) + 1;
    values.total = static_cast<int>(source.total);
    if (output.Parts > 1) values.part = output.Part, values.parts = output.Parts;
    if (source.outputsAreParts) values.part = values.number, values.parts = values.total;
    values.title = OwnTitle(output);
    values.input = source.inputName;
    values.key = output.Key;
    for (std::size_t i = 0; i < output.KeyGroups.size() && i < values.groups.size(); ++i)
        values.groups[i] = output.KeyGroups[i];
    values.date = IsoDate(source.today);
    if (output.Ranges.empty()) return values;
    const int first = output.Ranges.front().FirstPage;
    values.from = first + 1;
    values.to = output.Ranges.back().LastPage + 1;
    const DocumentHandle& document = source.document;
    if (!document.HasDocument()) return values;
    values.label = ReadOr(std::string(), "a page without a readable label leaves {label} empty",
                          [&] { return Host().documents->PageLabel(document.Doc(), first); });
    if (source.keys)
        if (const std::optional<SearchPattern::Captures> key =
                ReadOr(std::optional<SearchPattern::Captures>(), "a page whose value cannot be read leaves {key} empty",
                       [&] { return source.keys->Read(first); }))
            TakeGroups(*key, values);
    if (!source.pattern.IsCompiled()) return values;
    const std::string text = ReadOr(std::string(), "an unreadable page leaves the pattern's groups empty", [&] {
        PageTextExtractor& words = source.extractor;
        if (!words.Attached() && !words.Attach(document)) return std::string();
        return words.Extract(first, {}, false) ? words.Text() : std::string();
    });
    if (const std::optional<SearchPattern::Captures> found = source.pattern.FirstMatch(text))
        TakeGroups(*found, values);
    return values;
}

}  // namespace tessera
