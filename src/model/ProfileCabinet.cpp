#include "model/ProfileCabinet.h"

#include <string>
#include <type_traits>

#include "model/CabinetReader.h"
#include "model/QueryCabinet.h"
#include "model/SettingsCheck.h"
#include "model/SettingsFields.h"
#include "model/StoredPageRange.h"

namespace tessera {
namespace {

constexpr std::int32_t kMaxRanges = 10000;

// One table per cabinet of the tree: each value's key, in the order written,
// its field, and what a missing value reads as (texts read as empty, areas as
// 0.0, choices as 0 before the checks of their group).
template <class Record>
struct ProfileField {
    const char* key;
    FieldRef (*ref)(Record&);
    std::int32_t initial;
};

#define FIELD(key, member, initial) \
    { key, [](auto& r) -> FieldRef { return &r.member; }, initial }

const ProfileField<SecuritySettings> kSecurity[] = {
    FIELD("PasswordProtect", bPaswordProtect, false), FIELD("CanCopy", bSecurityCanCopy, true),
    FIELD("CanEdit", bSecurityCanEdit, true),         FIELD("CanEditNotes", bSecurityCanEditNotes, true),
    FIELD("CanPrint", bSecurityCanPrint, true),       FIELD("AllowAll", AllowAll, true),
    FIELD("Password", Password, 0),                   FIELD("PermPassword", PermPassword, 0),
};

const ProfileField<FilenameSettings> kFilename[] = {
    FIELD("BaseFilename", OutputBaseFilename, 0),     FIELD("OutPutFolder", OutputFolder, 0),
    FIELD("FileConstructionMode", FileNameConstructionMode, 0), FIELD("FileAutoPrefix", FileNameAutoPrefix, 0),
    FIELD("CreateFolders", CreateFoldersForBookmarks, false), FIELD("PageNumber", PageNumber, 0),
    FIELD("PageRectLeft", TextAreaLeft, 0),           FIELD("PageRectRight", TextAreaRight, 0),
    FIELD("PageRectTop", TextAreaTop, 0),             FIELD("PageRectBottom", TextAreaBottom, 0),
    FIELD("StartingNumber", StartingNumber, 1),       FIELD("IncrementBy", IncrementBy, 1),
    FIELD("NumPadWithZeroes", NumPadWithZeroes, 0),
};

// The separator query follows these, in a cabinet of its own.
const ProfileField<OutputSettings> kOutput[] = {
    FIELD("Linearize", bLinearize, false),            FIELD("RemovePageLabels", bRemovePageLabels, false),
    FIELD("TransferBookmarks", bTransferBookmarks, false), FIELD("UpdateLinks", bUpdateLinks, false),
    FIELD("CreateHTMLIndex", bCreateHTMLIndex, false), FIELD("EqualPagesNumber", NumEqualPages, 1),
    FIELD("StartBookmarkLevel", StartBookmarkLevel, 1), FIELD("EndBookmarkLevel", EndBookmarkLevel, 1),
    FIELD("SeparatorType", SeparatorType, 0),         FIELD("BlankImageThreshold", BlankPageThreshold, 40),
    // The watermark of every range without one of its own, as the range keeps its own.
    FIELD("Watermark", EveryRangeWatermark.Text, 0),  FIELD("WatermarkFontSize", EveryRangeWatermark.FontSize, 45),
    FIELD("TransparencyLevel", EveryRangeWatermark.TransparencyLevel, 50),
    FIELD("WatermarkBehindText", EveryRangeWatermark.BehindText, false),
};

// The query follows these, in a cabinet of its own.
const ProfileField<StoredPageRange> kRange[] = {
    FIELD("StartPage", StartPage, 0),                 FIELD("NumPages", NumPages, 0),
    FIELD("Options", Options, 0),                     FIELD("Watermark", Watermark, 0),
    FIELD("SubTitle", SubTitle, 0),                   FIELD("FirstPage", FirstPage, 0),
    FIELD("LastPage", LastPage, 0),                   FIELD("NumActualPages", NumActualPages, 0),
    FIELD("Step", Step, 0),                           FIELD("TransparencyLevel", TransparencyLevel, 50),
    FIELD("WatermarkFontSize", WatermarkFontSize, 45), FIELD("WatermarkBehindText", WatermarkBehindText, true),
};

#undef FIELD

template <class Record, std::size_t N>
void SaveFields(const ProfileField<Record> (&fields)[N], Record record, host::Cabinet& c) {
    for (const ProfileField<Record>& field : fields)
        std::visit(
            [&](auto* value) {
                using T = std::remove_pointer_t<decltype(value)>;
                if constexpr (std::is_same_v<T, Fixed16>) c.Put(field.key, value->Real());
                else if constexpr (std::is_enum_v<T>) c.Put(field.key, static_cast<std::int32_t>(*value));
                else c.Put(field.key, *value);
            },
            field.ref(record));
}

// Area reals become fixed point by x 65536 + 0.5, cut toward zero.
template <class Record, std::size_t N>
void LoadFields(const ProfileField<Record> (&fields)[N], const CabinetReader& c, Record& record) {
    for (const ProfileField<Record>& field : fields)
        std::visit(
            [&](auto* value) {
                using T = std::remove_pointer_t<decltype(value)>;
                if constexpr (std::is_same_v<T, Fixed16>) *value = Fixed16::FromRealAddingHalf(c.Real(field.key, 0.0));
                else if constexpr (std::is_same_v<T, std::string>) *value = c.Text(field.key);
                else if constexpr (std::is_same_v<T, bool>) *value = c.Flag(field.key, field.initial != 0);
                else *value = static_cast<T>(c.Integer(field.key, field.initial));
            },
            field.ref(record));
}

// A cabinet put into another is a copy, so the nested one is filled first.
template <class Fill>
void PutFilled(host::Cabinet& parent, const std::string& key, Fill&& fill) {
    host::Cabinet nested;
    fill(nested);
    parent.PutCabinet(key, nested);
}

template <class Record, std::size_t N, class Fill>
void SaveGroup(host::Cabinet& parent, const char* key, const ProfileField<Record> (&fields)[N], const Record& record,
               Fill&& more) {
    PutFilled(parent, key, [&](host::Cabinet& c) {
        SaveFields(fields, record, c);
        more(c);
    });
}

void SaveDocument(const OutputDocument& d, host::Cabinet& c) {
    c.Put("Filename", d.Filename);
    c.Put("NumRanges", static_cast<std::int32_t>(d.Ranges.size()));
    for (std::size_t j = 0; j < d.Ranges.size(); ++j)
        SaveGroup(c, ("Range" + std::to_string(j)).c_str(), kRange, ToStored(d.Ranges[j]), [&](host::Cabinet& r) {
            PutFilled(r, "Query", [&](host::Cabinet& q) { SavePageQuery(d.Ranges[j].Query, q); });
        });
}

// Only white space before the passwords goes: a blank at the end may be meant.
std::string TrimLeft(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\n\v\f\r");
    return first == std::string::npos ? "" : text.substr(first);
}

void LoadSecurity(const CabinetReader& c, SecuritySettings& s) {
    LoadFields(kSecurity, c, s);
    s.Password = TrimLeft(s.Password);
    s.PermPassword = TrimLeft(s.PermPassword);
}

// Choices past the known ones read as the first; negative ones are kept.
template <class Choice>
void FirstPast(Choice& choice, std::int32_t count) {
    if (static_cast<std::int32_t>(choice) >= count) choice = Choice{};
}

void LoadFilename(const CabinetReader& c, FilenameSettings& s) {
    LoadFields(kFilename, c, s);
    FirstPast(s.FileNameConstructionMode, 5);
    FirstPast(s.FileNameAutoPrefix, 3);
}

void LoadOutput(const CabinetReader& c, OutputSettings& s) {
    LoadFields(kOutput, c, s);
    if (const std::optional<CabinetReader> query = c.Nested("SeparatorQuery")) LoadTextQuery(*query, s.SeparatorQuery);
}

// A group missing stops the reading of the groups after it, not the load.
void LoadGroups(const CabinetReader& settings, SplitSettings& s) {
    const std::optional<CabinetReader> security = settings.Nested("SecuritySettings");
    if (!security) return;
    LoadSecurity(*security, s.Security);
    const std::optional<CabinetReader> filename = settings.Nested("FilenameSettings");
    if (!filename) return;
    LoadFilename(*filename, s.Filename);
    const std::optional<CabinetReader> output = settings.Nested("OutputSettings");
    if (output) LoadOutput(*output, s.Output);
}

PageRange LoadRange(const CabinetReader& c) {
    StoredPageRange stored;
    LoadFields(kRange, c, stored);
    PageRange r = FromStored(stored);
    LoadPageQuery(c.Required("Query"), r.Query);
    return r;
}

OutputDocument LoadDocument(const CabinetReader& c) {
    OutputDocument d;
    d.Filename = c.Text("Filename");
    const std::int32_t count = c.Integer("NumRanges", 0);
    if (count > kMaxRanges) c.Refuse("NumRanges", "is " + std::to_string(count) + ", more than 10000");
    for (std::int32_t j = 0; j < count; ++j) d.Ranges.push_back(LoadRange(c.Required("Range" + std::to_string(j))));
    return d;
}

void Load(const CabinetReader& top, SplitSettings& s) {
    const std::int32_t mode = top.Integer("SplitMode", 0);
    if (mode < 0 || mode > 3) top.Refuse("SplitMode", "is " + std::to_string(mode) + ", not a method from 0 to 3");
    s.SplitMode = static_cast<SplitMethod>(mode);
    LoadGroups(top.Required("Settings"), s);
    s.Outputs.clear();
    // The count is only a bound: each document must be there, so a large count
    // costs nothing until documents are found.
    const std::int32_t count = top.Integer("NumOutputFiles", 0);
    for (std::int32_t k = 0; k < count; ++k) s.Outputs.push_back(LoadDocument(top.Required("Doc" + std::to_string(k))));
}

}  // namespace

void SaveSettingsToCabinet(const SplitSettings& s, host::Cabinet& c) {
    c.Clear();
    c.Put("SplitMode", static_cast<std::int32_t>(s.SplitMode));
    const auto nothing = [](host::Cabinet&) {};
    PutFilled(c, "Settings", [&](host::Cabinet& settings) {
        SaveGroup(settings, "SecuritySettings", kSecurity, s.Security, nothing);
        SaveGroup(settings, "FilenameSettings", kFilename, s.Filename, nothing);
        SaveGroup(settings, "OutputSettings", kOutput, s.Output, [&](host::Cabinet& output) {
            PutFilled(output, "SeparatorQuery", [&](host::Cabinet& q) { SaveTextQuery(s.Output.SeparatorQuery, q); });
        });
    });
    c.Put("NumOutputFiles", static_cast<std::int32_t>(s.Outputs.size()));
    for (std::size_t k = 0; k < s.Outputs.size(); ++k)
        PutFilled(c, "Doc" + std::to_string(k), [&](host::Cabinet& d) { SaveDocument(s.Outputs[k], d); });
    c.DropEmptyValues();
}

Result<> LoadSettingsFromCabinet(SplitSettings& settings, const host::Cabinet& cabinet) {
    try {
        Load(cabinet, settings);
    } catch (const CabinetRefusal& refusal) {
        return Failure{refusal.what()};
    }
    // A value no route would take is refused here, before any route sees it.
    const std::vector<SettingsProblem> problems = CheckStoredValues(settings);
    if (problems.empty()) return {};
    return Failure{"\"" + problems.front().field + "\": " + problems.front().text};
}

}  // namespace tessera
