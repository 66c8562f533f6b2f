#include "options/SplitOptionTable.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "model/ByteSize.h"
#include "model/ElementKindTable.h"
#include "model/SeparatorKindTable.h"
#include "model/SettingsChoices.h"
#include "model/SettingsSchema.h"
#include "model/SheetColours.h"
#include "model/SplitMethodTable.h"
#include "strings/CsvRows.h"
#include "strings/LanguageTable.h"
#include "strings/Utf8Text.h"
#include "strings/WinAnsiText.h"

namespace tessera {
namespace {

using host::OptionKind;

// A value that does not fit its option.
struct BadValue : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Where in an option's value a mistake is: "2" in "1-2", or the value itself.
std::string At(const std::string& text, const std::string& whole) {
    return "\"" + text + "\"" + (text == whole ? "" : " in \"" + whole + "\"");
}

// Any whole number: a count the settings check judges (0 pages each, level
// 0), refused there in the words a profile of it gets.
int WholeNumber(const std::string& text, const std::string& whole) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool allDigits = end == text.data() + text.size();
    if (error == std::errc::result_out_of_range && allDigits)
        throw BadValue(At(text, whole) + (text[0] == '-' ? " is too small" : " is too large"));
    if (error != std::errc() || !allDigits) throw BadValue("expected a whole number from 1 up at " + At(text, whole));
    return value;
}

int PositiveNumber(const std::string& text, const std::string& whole) {
    const int value = WholeNumber(text, whole);
    if (value < 1) throw BadValue("expected a whole number from 1 up at " + At(text, whole));
    return value;
}

// A list a user hands over (names, a manifest): a regular file or a pipe,
// read up to 16 MiB; a device such as /dev/zero, a folder or a socket is
// refused by what it is. A UTF-8 byte-order mark, as spreadsheets and
// editors write one, is no part of the text.
constexpr std::size_t kMostListBytes = std::size_t{16} << 20;

std::string ListText(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_type type = std::filesystem::status(path, error).type();
    if (error) throw BadValue("cannot read " + path + ": " + error.message());
    using std::filesystem::file_type;
    if (type != file_type::regular && type != file_type::fifo)
        throw BadValue(path + " is " + (type == file_type::directory ? "a folder" : "a device or a socket") +
                       ", not a file or a pipe");
    std::ifstream in(path, std::ios::binary);
    std::string text;
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMostListBytes) throw BadValue(path + " is larger than 16 MiB");
    }
    if (in.bad()) throw BadValue("cannot read " + path);
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    return text;
}

// Names are UTF-8, as the README promises: a name of another encoding would
// be a file name no report could show.
void CheckUtf8Name(const std::string& name, const std::string& path, const char* where, std::size_t line) {
    const std::vector<Utf8Character> characters = Characters(name);
    if (std::ranges::any_of(characters,
                            [](const Utf8Character& c) { return c.code == 0xFFFD && c.bytes != "\xEF\xBF\xBD"; }))
        throw BadValue(path + ", " + where + " " + std::to_string(line) + ": a name is UTF-8 text");
}

// --names: a name per line; the line break after the last is no name.
std::vector<std::string> NamesFromFile(const std::string& path) {
    std::istringstream in(ListText(path));
    std::vector<std::string> names;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        CheckUtf8Name(line, path, "line", names.size() + 1);
        names.push_back(line);
    }
    if (names.empty()) throw BadValue(path + " holds no name");
    return names;
}

// --manifest: each row "name,selection" or "name,count" is a --doc; counts
// take the pages after the previous count's, from page 1, and a manifest of
// counts alone is meant to take every page.
// A names list and a manifest both name the outputs: one of them may.
void TakeNames(OptionTargets& fields, std::vector<std::string> names) {
    std::vector<std::string>& taken = fields.settings.Filename.OutputNames;
    if (!taken.empty()) throw BadValue("--names and --manifest both name the outputs: give one of them");
    taken = std::move(names);
}

// A manifest's header, in any case: "name,selection" or "name,count".
bool IsManifestHeader(const CsvRow& row) {
    const auto lower = [](std::string text) {
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    return row.size() == 2 && lower(row[0]) == "name" && (lower(row[1]) == "selection" || lower(row[1]) == "count");
}

// Where a manifest's field is, as a spreadsheet user finds it: the file's
// line (a quoted field may hold line breaks) and the column.
std::string FieldPlace(const std::string& path, int line, int column) {
    return path + ", line " + std::to_string(line) + ", column " + std::to_string(column);
}

void Manifest(const std::string& path, OptionTargets& fields) {
    std::vector<int> lines;
    const Result<std::vector<CsvRow>> rows = ParseCsv(ListText(path), &lines);
    if (!rows) throw BadValue(path + ", " + rows.Reason());
    int next = 1;
    bool allCounts = true;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < rows->size(); ++i) {
        const CsvRow& row = (*rows)[i];
        const int line = lines[i];
        if (i == 0 && IsManifestHeader(row)) continue;
        if (row.size() == 1 && row[0].empty()) continue;  // a blank line, as editors leave at the end
        if (row.size() != 2)
            throw BadValue(path + ", line " + std::to_string(line) + ": expected name,selection or name,count, found " +
                           std::to_string(row.size()) + (row.size() == 1 ? " column" : " columns"));
        const bool count = !row[1].empty() && row[1].find_first_not_of("0123456789") == std::string::npos;
        allCounts = allCounts && count;
        std::string selection = row[1];
        if (count) {
            try {
                const int pages = PositiveNumber(row[1], row[1]);
                selection = std::to_string(next) + "-" + std::to_string(next + pages - 1);
                next += pages;
            } catch (const BadValue& bad) {
                throw BadValue(FieldPlace(path, line, 2) + ": " + bad.what());
            }
        }
        // The name is the file's, made safe as a names list's are: a customer
        // called "Smith, Sons" or "A&B" is a name, not a refusal.
        fields.documents.push_back({selection, "--manifest: " + FieldPlace(path, line, 2)});
        CheckUtf8Name(row[0], path, "line", static_cast<std::size_t>(line));
        names.push_back(row[0]);
    }
    TakeNames(fields, std::move(names));
    // Counts alone cut the document in turn: a page they leave is a mistake to say.
    fields.settings.Output.CountsCoverDocument = allCounts && next > 1;
}

// A command splits one way; a second method would silently replace the first.
void ChooseMethod(OptionTargets& fields, SplitMethod mode) {
    const char* option = FindMethodRow(mode)->option;
    if (!fields.methodOption.empty() && fields.methodOption != option)
        throw BadValue("cannot be combined with --" + fields.methodOption + ": a command splits by one method");
    fields.methodOption = option;
    fields.settings.SplitMode = mode;
}

bool Switch(const std::string& value) { return value == "1"; }

template <class Value>
Value Chosen(std::span<const ChoiceRow<Value>> choices, const std::string& word) {
    if (const std::optional<Value> value = ChoiceByWord(choices, word)) return *value;
    throw BadValue("\"" + word + "\" is not one of " + ChoiceWords(choices));
}

// "5-1" means the same levels as "1-5", as the split itself takes them.
void Levels(const std::string& text, SplitSettings& s) {
    const std::size_t dash = text.find('-');
    const int first = WholeNumber(text.substr(0, dash), text);
    const int last = dash == std::string::npos ? first : WholeNumber(text.substr(dash + 1), text);
    s.Output.StartBookmarkLevel = std::min(first, last);
    s.Output.EndBookmarkLevel = std::max(first, last);
}

void Denied(const std::string& list, SecuritySettings& s) {
    s.bSecurityCanPrint = s.bSecurityCanCopy = s.bSecurityCanEdit = s.bSecurityCanEditNotes = true;
    std::istringstream in(list);
    for (std::string word; std::getline(in, word, ',');) {
        if (word == "print")
            s.bSecurityCanPrint = false;
        else if (word == "copy")
            s.bSecurityCanCopy = false;
        else if (word == "edit")
            s.bSecurityCanEdit = false;
        else if (word == "notes")
            s.bSecurityCanEditNotes = false;
        else
            throw BadValue("\"" + word + "\" is not one of print, copy, edit, notes");
    }
}

// How noisy a blank scan may be, within its schema row's range.
int Sensitivity(const std::string& text, const std::string& whole, SplitSettings& s) {
    const SettingsRow& row = *SettingsRowOf(s, &s.Output.BlankPageThreshold);
    const int value = PositiveNumber(text, whole);
    if (value < row.low || value > row.high)
        throw BadValue("the scan sensitivity goes from " + std::to_string(row.low) + " to " + std::to_string(row.high) +
                       ", not " + text);
    return value;
}

void Area(const std::string& value, PageArea& target);

// A named colour with its own tolerance, "#RRGGBB", or "page:N" (a sheet of
// the document shows the colour), then ":TOLERANCE" (1 to 255) when given.
void Sheet(const std::string& what, OutputSettings& o) {
    const bool sample = what.rfind("page:", 0) == 0;
    const std::string rest = sample ? what.substr(5) : what;
    const std::size_t colon = rest.find(':');
    const std::string colour = rest.substr(0, colon);
    o.SheetSamplePage = sample ? PositiveNumber(colour, what) : 0;
    if (!sample) {
        const std::optional<SheetColourRow> row = ParseSheetColour(colour);
        if (!row)
            throw BadValue("expected a colour among " + SheetColourList() + ", #RRGGBB or page:N, not \"" + colour +
                           "\"");
        o.SheetColour = row->rgb;
        if (row->tolerance > 0) o.SheetTolerance = row->tolerance;
    }
    if (colon != std::string::npos) {
        const int tolerance = PositiveNumber(rest.substr(colon + 1), what);
        if (tolerance > 255) throw BadValue("a tolerance is 1 to 255, not " + rest.substr(colon + 1));
        o.SheetTolerance = tolerance;
    }
}

// "qr,code128": the sum of the kinds' bits.
std::int32_t CodeKindsOf(const std::string& list) {
    std::int32_t kinds = 0;
    std::istringstream words(list);
    for (std::string word; std::getline(words, word, ',');) {
        const std::optional<host::CodeKind> kind = ChoiceByWord(CodeKindChoices(), word);
        if (!kind)
            throw BadValue("expected kinds of code among " + ChoiceWords(CodeKindChoices()) + ", not \"" + word + "\"");
        kinds |= static_cast<std::int32_t>(*kind);
    }
    return kinds;
}

// "area:L,T,R,B", "regex:PATTERN", "label" or "size".
void ValueChange(const std::string& what, OutputSettings& o) {
    TextQuery& q = o.SeparatorQuery;
    if (what.rfind("area:", 0) == 0) {
        Area(what.substr(5), q.Area);
        q.UseAreaFilter = true;
        o.ChangeKey = ChangeKeyKind::AreaText;
    } else if (what.rfind("regex:", 0) == 0 && what.size() > 6) {
        q.Pattern = what.substr(6);
        q.UseRegExp = true;
        o.ChangeKey = ChangeKeyKind::PatternMatch;
    } else if (what == "label" || what == "size") {
        o.ChangeKey = what == "label" ? ChangeKeyKind::LabelPrefix : ChangeKeyKind::PageSize;
    } else {
        throw BadValue(
            "expected change=area:L,T,R,B, change=regex:PATTERN, change=label or change=size, not \"change=" + what +
            "\"");
    }
}

// Each separator kind's value: what follows its word and "=", or none for the
// bare word, taken into the settings once the kind is set. False for a form
// the kind does not take.
using SeparatorValueTaker = bool (*)(const std::optional<std::string>& given, SplitSettings& s);

struct SeparatorValueRow {
    SeparatorKind kind;
    SeparatorValueTaker take;
};

// An empty pattern is the settings check's to refuse, as from a profile.
constexpr SeparatorValueRow kSeparatorValueRows[] = {
    {SeparatorKind::BlankPage, [](const std::optional<std::string>& given, SplitSettings&) { return !given; }},
    {SeparatorKind::BlankImagePage,
     [](const std::optional<std::string>& given, SplitSettings& s) {
         if (given && !given->empty()) s.Output.BlankPageThreshold = Sensitivity(*given, "scan=" + *given, s);
         return true;
     }},
    {SeparatorKind::PageMatchingText,
     [](const std::optional<std::string>& given, SplitSettings& s) {
         s.Output.SeparatorQuery.Pattern = given.value_or("");
         return given.has_value();
     }},
    {SeparatorKind::ValueChange,
     [](const std::optional<std::string>& given, SplitSettings& s) {
         if (given) ValueChange(*given, s.Output);
         return given.has_value();
     }},
    {SeparatorKind::PageWithCode,
     [](const std::optional<std::string>& given, SplitSettings& s) {
         s.Output.SeparatorQuery.Pattern = given.value_or("");
         s.Output.SeparatorQuery.UseRegExp = true;
         return true;
     }},
    {SeparatorKind::ColouredSheet,
     [](const std::optional<std::string>& given, SplitSettings& s) {
         if (given) Sheet(*given, s.Output);
         return given.has_value();
     }},
};

void Separator(const std::string& value, SplitSettings& s) {
    for (const SeparatorKindRow& kind : SeparatorKindRows()) {
        const std::string word = kind.word;
        if (value != word && value.rfind(word + "=", 0) != 0) continue;
        const auto taker = std::ranges::find(kSeparatorValueRows, kind.kind, &SeparatorValueRow::kind);
        const std::optional<std::string> given =
            value == word ? std::nullopt : std::optional<std::string>(value.substr(word.size() + 1));
        s.Output.SeparatorType = kind.kind;  // the row chose it; its value says the rest
        if (taker != std::end(kSeparatorValueRows) && taker->take(given, s)) return;
        break;
    }
    throw BadValue("expected " + SeparatorForms() + ", not \"" + value + "\"");
}

void Area(const std::string& value, PageArea& target) {
    PageArea area;
    if (!ParseArea(value, area)) throw BadValue("expected four numbers of points L,T,R,B, not \"" + value + "\"");
    // Top is above bottom: y grows down the page.
    if (area.right < area.left) throw BadValue("the right edge is left of the left edge in \"" + value + "\"");
    if (area.bottom < area.top) throw BadValue("the bottom edge is above the top edge in \"" + value + "\"");
    target = area;
}

// Watermarks are drawn in a standard font, whose characters are those of WinAnsi.
std::string WatermarkText(const std::string& text) {
    if (const std::optional<std::string> missing = FirstCharacterOutsideWinAnsi(text))
        throw BadValue("\"" + *missing +
                       "\" cannot be drawn: the watermark's font (Times-Roman) has only the "
                       "characters of Windows-1252 (Latin-1 with quotes, dashes, the euro sign and a few more)");
    return text;
}

// A number within the range of the schema row of `field`, a field of `s`.
int NumberWithin(const std::string& text, SplitSettings& s, const std::int32_t& field, const char* what) {
    const SettingsRow& row = *SettingsRowOf(s, &field);
    const int low = row.low, high = row.high;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        throw BadValue(std::string(what) + " goes from " + std::to_string(low) + " to " + std::to_string(high) +
                       ", not \"" + text + "\"");
    return value;
}

// The help is the English text here unless the user's language file gives
// "OPTION_name" (and "OPTION_GROUP_group" for the group's title).
host::OptionSpec Spec(std::string name, std::string alias, OptionKind kind, std::vector<std::string> words,
                      const std::string& help, const std::string& group, std::string valueName = "",
                      std::vector<std::string> offered = {}) {
    std::string shown = LookupString("OPTION_" + name, help);
    std::string groupKey = "OPTION_GROUP_" + group;
    std::replace(groupKey.begin(), groupKey.end(), ' ', '_');
    std::string groupShown = LookupString(groupKey, group);
    return {std::move(name),       std::move(alias),     kind, std::move(words),  std::move(shown),
            std::move(groupShown), std::move(valueName), "",   std::move(offered)};
}

// What the shells offer for --separator: every kind, and every way to say
// what changes and which sheet.
std::vector<std::string> SeparatorStarts() {
    std::vector<std::string> starts = {"text=",        "blank",       "scan", "scan=", "change=area:", "change=regex:",
                                       "change=label", "change=size", "code", "code=", "sheet=page:"};
    for (const SheetColourRow& row : SheetColourRows()) starts.push_back(std::string("sheet=") + row.name);
    return starts;
}

// An option either sets its schema row's field alone or is applied by hand.
struct SplitOption {
    host::OptionSpec spec;
    void (*apply)(const std::string& value, OptionTargets& fields) = nullptr;
    const SettingsRow* row = nullptr;
};

// Sets a schema row's field from its option's value: a switch, a text, or a choice's word.
struct SetFromOption {
    const std::string& value;
    void operator()(bool* flag) const { *flag = Switch(value); }
    void operator()(std::string* text) const { *text = value; }
    template <class Field>
    void operator()(Field* field) const {
        if constexpr (requires { ChoicesOf(*field); })
            *field = Chosen(ChoicesOf(*field), value);
        else
            throw BadValue("cannot be set from the command line");
    }
};

// The kind and words of a schema row's option.
struct OptionKindOf {
    std::vector<std::string>& words;
    OptionKind operator()(bool*) const { return OptionKind::Switch; }
    template <class Field>
    OptionKind operator()(Field* field) const {
        if constexpr (requires { ChoicesOf(*field); }) {
            for (const auto& row : ChoicesOf(*field)) words.push_back(row.word);
            return OptionKind::Choice;
        }
        return OptionKind::Text;
    }
};

// What a schema row's field holds in the initial settings, as its option takes it.
struct InitialText {
    std::string operator()(bool* flag) const { return *flag ? "on" : "off"; }
    std::string operator()(std::string* text) const { return *text; }
    template <class Field>
    std::string operator()(Field* field) const {
        if constexpr (requires { ChoicesOf(*field); }) {
            for (const auto& row : ChoicesOf(*field))
                if (row.value == *field) return row.word;
        }
        return "";
    }
};

// The option a schema row makes, shown under `group`.
SplitOption FromSchema(const char* option, const char* group) {
    const SettingsRow* row = SettingsRowForOption(option);
    SplitSettings probe;
    std::vector<std::string> words;
    const OptionKind kind = std::visit(OptionKindOf{words}, row->ref(probe));
    host::OptionSpec spec = Spec(row->option, "", kind, std::move(words), row->help, group);
    spec.initial = std::visit(InitialText{}, row->ref(probe));
    return {std::move(spec), nullptr, row};
}

// The options as listed, then those of schema rows the list leaves out, under
// `group`: a new switch needs only its row. The help shows options group by
// group, so they appear with the group's others.
std::vector<SplitOption> WithUnlistedSchemaOptions(std::vector<SplitOption> listed, const char* group) {
    for (const SettingsRow& row : SettingsSchema()) {
        const auto named = [&](const SplitOption& o) { return o.spec.name == row.option; };
        if (row.option && std::ranges::none_of(listed, named)) listed.push_back(FromSchema(row.option, group));
    }
    return listed;
}

const std::vector<SplitOption>& Options() {
    static const char* kMethod = "Split method";
    static const char* kNaming = "Output names and folder";
    static const char* kProcessing = "Processing and security (--no-X switches X off)";
    static const char* kSearch = "Text search (for --separator text= and the texts of --doc)";
    static const char* kProfiles = "Profiles (the whole setup, hand-made outputs included, in a .tpr file)";
    static const char* kWatermark = "Watermark (the size, transparency and placement also apply to :mark of --doc)";
    static const char* kOcr = "Text recognition (OCR) of scanned pages";
    static const std::vector<SplitOption> options = WithUnlistedSchemaOptions(
        {
            {Spec("equal", "", OptionKind::PositiveInteger, {},
                  "Split into outputs of N pages each (the last holds the rest)", kMethod),
             [](const std::string& v, OptionTargets& f) {
                 ChooseMethod(f, SplitMethod::EqualPages);
                 f.settings.Output.NumEqualPages = WholeNumber(v, v);
             }},
            {Spec("bookmarks", "", OptionKind::Levels, {},
                  "Split at the bookmarks of level A, or of levels A to B (top level is 1)", kMethod),
             [](const std::string& v, OptionTargets& f) {
                 ChooseMethod(f, SplitMethod::BookmarkLevels);
                 Levels(v, f.settings);
             }},
            {Spec(
                 "separator", "", OptionKind::Text, {},
                 "Split at separator pages: text=PATTERN starts a new output at every page whose text matches; "
                 "blank drops blank pages and splits there; scan does so for blank scanned pages, scan=N tolerating "
                 "noise from 10 (clean scans) to 80 (noisy ones; 40 unless --remembered brings back another); "
                 "change=area:L,T,R,B, change=regex:PATTERN, change=label or change=size starts a new output at every "
                 "page whose words in that area, first match of PATTERN (its groups joined, if it has any), label "
                 "prefix, or size and orientation differ from the output's; code drops every page showing a barcode "
                 "or 2-D code (QR, Data Matrix, Code 128, Code 39, EAN/UPC, PDF417, Aztec) and little else (at most "
                 "0.5% "
                 "of its area in ink beside its codes, so that a page of content with a payment code stays; "
                 "--code-anywhere takes any page showing a code), code=REGEX every page any of whose codes matches, "
                 "and the code names the output after it ({code}, {1}...); sheet=COLOUR[:TOLERANCE] drops every sheet "
                 "of that colour over --sheet-share of it: " +
                     SheetColourList() +
                     " (as scanners see such paper), "
                     "#RRGGBB (tolerance 64 at first), or page:N, the colour of page N, a sheet of the document; "
                     "TOLERANCE "
                     "is 1 to 255 in each of red, green and blue. White, or a colour within its tolerance of white, is "
                     "refused: printed pages are mostly white (blank and scan find white separator pages)",
                 kMethod, "text=PATTERN|blank|scan[=N]|change=WHAT|code[=REGEX]|sheet=COLOUR[:TOL]", SeparatorStarts()),
             [](const std::string& v, OptionTargets& f) {
                 ChooseMethod(f, SplitMethod::SeparatorPages);
                 Separator(v, f.settings);
             }},
            {Spec("doc", "", OptionKind::Text, {}, "One hand-made output (repeat for more); see the selections below",
                  kMethod, "[NAME=]SELECTION"),
             [](const std::string& v, OptionTargets& f) {
                 ChooseMethod(f, SplitMethod::ManualRanges);
                 f.documents.push_back({v, "--doc"});
             }},
            {Spec("on-missing", "", OptionKind::Text, {},
                  "With --separator change=: a page without the value (an empty area, no match) stays with the output "
                  "before (keep, at first), or starts an output of its own (new)",
                  kMethod, "keep|new"),
             [](const std::string& v, OptionTargets& f) {
                 if (v != "keep" && v != "new") throw BadValue("expected keep or new, not \"" + v + "\"");
                 f.settings.Output.MissingKeyStartsNew = v == "new";
             }},
            FromSchema("group-same-key", kMethod),
            {Spec("max-size", "", OptionKind::Text, {},
                  "Split into outputs no larger than SIZE on disk, each with as many pages as fit (500k, 10MB, 9.5MiB: "
                  "SI "
                  "and IEC units, any case; bytes without a unit); with another method, cut each output larger than "
                  "SIZE "
                  "into parts (NAME_1, NAME_2...; {part} and {parts} in --name). Sizes are measured by making each "
                  "output "
                  "as it will be written, also in a --dry-run, which then takes about as long as a split",
                  kMethod, "SIZE"),
             [](const std::string& v, OptionTargets& f) {
                 const std::optional<std::int64_t> bytes = ParseByteSize(v);
                 if (!bytes || *bytes > std::numeric_limits<std::int32_t>::max())
                     throw BadValue(
                         "expected a size such as 500k, 10MB or 9.5MiB, at most 2147483647 bytes (2 GiB less one "
                         "byte), not \"" +
                         v + "\"");
                 f.settings.Output.MaxOutputBytes = static_cast<std::int32_t>(*bytes);
                 f.sizeLimitGiven = true;
             }},
            FromSchema("allow-oversize", kMethod),
            {Spec("sheet-share", "", OptionKind::PositiveInteger, {},
                  "With --separator sheet=: the percentage of a sheet that must lie near its colour, 50 to 100 (95 at "
                  "first)",
                  kMethod, "N"),
             [](const std::string& v, OptionTargets& f) {
                 OutputSettings& o = f.settings.Output;
                 o.SheetShare = NumberWithin(v, f.settings, o.SheetShare, "the share of a sheet");
             }},
            // A list of words: shells offer them rather than file names.
            {Spec("code-kinds", "", OptionKind::WordList, ChoiceWordList(CodeKindChoices()),
                  "With --separator code: the kinds of code looked for, separated by commas: " +
                      ChoiceWords(CodeKindChoices()) + " (EAN and UPC); every kind at first",
                  kMethod, "KIND,KIND..."),
             [](const std::string& v, OptionTargets& f) { f.settings.Output.CodeKinds = CodeKindsOf(v); }},
            {Spec(
                 "manifest", "", OptionKind::Text, {},
                 "Hand-made outputs from a CSV file (RFC 4180): a row name,SELECTION (as --doc takes it) or name,COUNT "
                 "(the next COUNT pages, from page 1) per output, in order; a header row name,selection is skipped. "
                 "Each name is its output's file name, made safe as --names makes it",
                 kMethod, "FILE.csv"),
             [](const std::string& v, OptionTargets& f) {
                 ChooseMethod(f, SplitMethod::ManualRanges);
                 Manifest(v, f);
             }},
            FromSchema("regex", kSearch),
            FromSchema("whole-words", kSearch),
            FromSchema("match-case", kSearch),
            {Spec("area", "", OptionKind::Text, {}, "Search only words touching this area (see below)", kSearch,
                  "L,T,R,B"),
             [](const std::string& v, OptionTargets& f) {
                 TextQuery& q = f.settings.Output.SeparatorQuery;
                 Area(v, q.Area);
                 q.UseAreaFilter = true;
             }},
            {Spec("output-folder", "o", OptionKind::Folder, {}, "Folder that receives the outputs", kNaming),
             [](const std::string& v, OptionTargets& f) {
                 // `-o "$OUT"` with the variable unset must not write into the home folder.
                 if (TrimText(v).empty()) throw BadValue(LookupString("IDS_NO_OUTPUT_FOLDER_SPECIFIED"));
                 SplitSettings& s = f.settings;
                 s.Filename.OutputFolder = (std::filesystem::path(v) / "").string();
             }},
            FromSchema("prefix", kNaming),
            FromSchema("base", kNaming),
            FromSchema("suffix", kNaming),
            {Spec("name-area", "", OptionKind::Text, {}, "The area whose text --suffix text puts in names", kNaming,
                  "L,T,R,B"),
             [](const std::string& v, OptionTargets& f) {
                 FilenameSettings& n = f.settings.Filename;
                 Area(v, n.TextArea);
             }},
            {Spec("name", "", OptionKind::Text, {},
                  "Name every output from TEMPLATE (and choose --suffix template): fields {n}, {n:03}, {n:0}, {total}, "
                  "{from}, {to}, {label}, {title}, {input}, {date}, {part} and {parts} (of an output --max-size cut), "
                  "and "
                  "{key}, {1}...{9}, {NAME} from --name-pattern's match; / makes folders, {{ and }} are braces",
                  kNaming, "TEMPLATE"),
             [](const std::string& v, OptionTargets& f) {
                 FilenameSettings& n = f.settings.Filename;
                 n.NameTemplate = v;
                 n.FileNameConstructionMode = NameConstructionMode::UseTemplate;
             }},
            FromSchema("name-pattern", kNaming),
            {Spec("names", "", OptionKind::Text, {},
                  "Name the outputs from FILE, one name per line (UTF-8) for the outputs in order; a file with another "
                  "number of names than the outputs planned stops the run before anything is written (exit 2)",
                  kNaming, "FILE"),
             [](const std::string& v, OptionTargets& f) { TakeNames(f, NamesFromFile(v)); }},
            FromSchema("folders", kNaming),
            FromSchema("linearize", kProcessing),
            FromSchema("remove-labels", kProcessing),
            FromSchema("tags", kProcessing),
            FromSchema("attachments-first", kProcessing),
            FromSchema("update-links", kProcessing),
            FromSchema("transfer-bookmarks", kProcessing),
            {Spec("jobs", "", OptionKind::PositiveInteger, {},
                  "Write up to N outputs at once, and scan for separator pages, each in a process of its own (default: "
                  "one per core; 1 works in one process, one output after the other)",
                  kProcessing, "N"),
             [](const std::string& v, OptionTargets& f) { f.settings.Output.Jobs = PositiveNumber(v, v); }},
            FromSchema("html-index", kProcessing),
            {Spec("open-password", "", OptionKind::Text, {},
                  "Protect the outputs with a password needed to open them (at most 127 bytes; blanks at either end "
                  "are dropped)",
                  kProcessing, "PW"),
             [](const std::string& v, OptionTargets& f) {
                 SplitSettings& s = f.settings;
                 s.Security.bPaswordProtect = true;
                 s.Security.Password = v;
             }},
            {Spec("permissions-password", "", OptionKind::Text, {},
                  "Password needed to change the outputs' permissions (at most 127 bytes; blanks at either end are "
                  "dropped)",
                  kProcessing, "PW"),
             [](const std::string& v, OptionTargets& f) {
                 SplitSettings& s = f.settings;
                 s.Security.bPaswordProtect = true;
                 s.Security.PermPassword = v;
             }},
            {Spec("deny", "", OptionKind::WordList, {"print", "copy", "edit", "notes"},
                  "Deny these permissions in the outputs", kProcessing),
             [](const std::string& v, OptionTargets& f) {
                 SplitSettings& s = f.settings;
                 Denied(v, s.Security);
             }},
            FromSchema("ocr", kOcr),
            FromSchema("ocr-lang", kOcr),
            {Spec("ocr-dpi", "", OptionKind::PositiveInteger, {},
                  "The resolution pages are drawn at for text recognition, 70 to 1200 dpi (300 at first; finer reads "
                  "small print, coarser reads faster)",
                  kOcr, "N"),
             [](const std::string& v, OptionTargets& f) {
                 OcrSettings& ocr = f.settings.Output.Ocr;
                 ocr.Dpi = NumberWithin(v, f.settings, ocr.Dpi, "the OCR resolution");
             }},
            {Spec("ocr-min-confidence", "", OptionKind::Text, {},
                  "A word text recognition reads with less confidence than N (0 to 100; 40 at first) counts as "
                  "unread: a page whose value is then missing has none, and --on-missing decides. Values read by OCR "
                  "are compared with each run of blanks and of the punctuation OCR confuses (. , : ; quotes |) as one "
                  "blank and none at either end, so that \"No. 1003\", \"No.1003\" and \"No 1003\" are one value; "
                  "--dry-run and --json show how sure each such value is",
                  kOcr, "N"),
             [](const std::string& v, OptionTargets& f) {
                 OcrSettings& ocr = f.settings.Output.Ocr;
                 ocr.MinConfidence = NumberWithin(v, f.settings, ocr.MinConfidence, "the least OCR confidence");
             }},
            FromSchema("ocr-layer", kOcr),
            {Spec("profile", "", OptionKind::Text, {},
                  "Start from the settings of this profile; the other options change them, wherever they stand",
                  kProfiles, "FILE.tpr"),
             [](const std::string&, OptionTargets&) {}},  // read before the others: ProfileToLoad
            {Spec(
                 "save-profile", "", OptionKind::Text, {},
                 "Save the settings this command would split with as a profile, and stop without splitting (never over "
                 "the input; another file is replaced only after asking, which --yes answers)",
                 kProfiles, "FILE.tpr"),
             [](const std::string& v, OptionTargets& f) { f.saveProfile = v; }},
            {Spec("watermark", "", OptionKind::Text, {},
                  "Stamp TEXT diagonally across every page of every output, in red", kWatermark, "TEXT"),
             [](const std::string& v, OptionTargets& f) {
                 f.settings.Output.EveryRangeWatermark.Text = WatermarkText(v);
             }},
            {Spec("watermark-size", "", OptionKind::PositiveInteger, {},
                  "The watermark's font size in points (45 at first)", kWatermark, "N"),
             [](const std::string& v, OptionTargets& f) {
                 WatermarkStyle& mark = f.settings.Output.EveryRangeWatermark;
                 mark.FontSize = NumberWithin(v, f.settings, mark.FontSize, "the watermark size");
             }},
            {Spec("watermark-transparency", "", OptionKind::Text, {},
                  "How transparent the watermark is, from 0 (opaque) to 100 (invisible; 50 at first)", kWatermark, "N"),
             [](const std::string& v, OptionTargets& f) {
                 WatermarkStyle& mark = f.settings.Output.EveryRangeWatermark;
                 mark.TransparencyLevel = NumberWithin(v, f.settings, mark.TransparencyLevel, "the transparency");
             }},
            {Spec("watermark-behind", "", OptionKind::Switch, {},
                  "Draw the watermark behind the page's content, not over it", kWatermark),
             [](const std::string& v, OptionTargets& f) {
                 f.settings.Output.EveryRangeWatermark.BehindText = Switch(v);
             }},
        },
        kProcessing);
    return options;
}

}  // namespace

std::vector<host::OptionSpec> SplitOptionSpecs() {
    std::vector<host::OptionSpec> specs;
    for (const SplitOption& option : Options()) specs.push_back(option.spec);
    return specs;
}

std::string SplitOptionsHelp() {
    return R"(Selections of --doc, items separated by commas:
  7, 1-3, z (the last page), r2 (the second to last), 9-5 (backwards)
  1-z:odd, 2-10:even          odd or even page numbers of a range
  /TEXT/                      every page whose text matches TEXT
  /TEXT/1                     the first page whose text matches TEXT
  /FIRST/../LAST/             from each page matching FIRST to the next page matching LAST
  /FIRST/..</LAST/            the same, without the LAST page
  @KIND+KIND...               every page holding all the kinds of content named
  ITEM:mark/TEXT/             the pages of ITEM with the watermark TEXT (instead of --watermark's)
  Inside a text, \/ stands for /. --regex, --whole-words, --match-case and --area apply to
  every text. Example: --doc "Summary=1-2,/Conclusion/../References/" --doc z-3 --doc @image+link
Areas (--area, --name-area) are L,T,R,B in points from the top left of the page as shown.
Kinds of page content for @KIND:
)" + ContentKindWordsHelp();
}

bool ParseArea(const std::string& text, PageArea& parsed) {
    std::istringstream in(text);
    Fixed16 area[4];
    for (int i = 0; i < 4; ++i) {
        std::string item;
        if (!std::getline(in, item, ',') || item.empty()) return false;
        char* end = nullptr;
        const double points = std::strtod(item.c_str(), &end);
        if (*end != '\0' || !(points > -30000 && points < 30000)) return false;
        area[i] = Fixed16::FromRealRounded(points);
    }
    std::string rest;
    if (std::getline(in, rest)) return false;
    parsed = {area[0], area[1], area[2], area[3]};
    return true;
}

std::string ProfileToLoad(const std::vector<host::OptionValue>& options) {
    std::string path;
    for (const host::OptionValue& option : options)
        if (option.name == "profile") path = option.value;
    return path;
}

Result<> ApplySplitOption(const host::OptionValue& option, OptionTargets& fields) {
    for (const SplitOption& known : Options()) {
        if (known.spec.name != option.name) continue;
        try {
            if (known.row)
                std::visit(SetFromOption{option.value}, known.row->ref(fields.settings));
            else
                known.apply(option.value, fields);
            return {};
        } catch (const BadValue& bad) {
            return Failure{"--" + option.name + ": " + bad.what()};
        }
    }
    return Failure{"unknown option --" + option.name};
}

}  // namespace tessera
