#include "model/ProfileCabinet.h"

#include <string>
#include <type_traits>

#include "model/CabinetReader.h"
#include "model/QueryCabinet.h"
#include "model/SettingsCheck.h"
#include "model/SettingsSchema.h"
#include "model/SplitMethodTable.h"
#include "model/StoredPageRange.h"

namespace tessera {
namespace {

constexpr std::int32_t kMaxRanges = 10000;

// The page ranges' values, each key in the order written, its field, and
// what a missing value reads as; the settings' own are rows of SettingsSchema.
struct RangeField {
    const char* key;
    FieldRef (*ref)(StoredPageRange&);
    std::int32_t whenMissing;
};

#define FIELD(key, member, initial)                                            \
    {                                                                          \
        key, [](StoredPageRange& r) -> FieldRef { return &r.member; }, initial \
    }

// The query follows these, in a cabinet of its own.
const RangeField kRange[] = {
    FIELD("StartPage", StartPage, 0),
    FIELD("NumPages", NumPages, 0),
    FIELD("Options", Options, 0),
    FIELD("Watermark", Watermark, 0),
    FIELD("SubTitle", SubTitle, 0),
    FIELD("FirstPage", FirstPage, 0),
    FIELD("LastPage", LastPage, 0),
    FIELD("NumActualPages", NumActualPages, 0),
    FIELD("Step", Step, 0),
    FIELD("TransparencyLevel", TransparencyLevel, 50),
    FIELD("WatermarkFontSize", WatermarkFontSize, 45),
    FIELD("WatermarkBehindText", WatermarkBehindText, true),
};

#undef FIELD

void PutValue(host::Cabinet& c, const char* key, FieldRef field) {
    std::visit(
        [&](auto* value) {
            using T = std::remove_pointer_t<decltype(value)>;
            if constexpr (std::is_same_v<T, Fixed16>)
                c.Put(key, value->Real());
            else if constexpr (std::is_enum_v<T>)
                c.Put(key, static_cast<std::int32_t>(*value));
            else
                c.Put(key, *value);
        },
        field);
}

// Area reals become fixed point by x 65536 + 0.5, cut toward zero.
void ReadValue(const CabinetReader& c, const char* key, std::int32_t whenMissing, FieldRef field) {
    std::visit(
        [&](auto* value) {
            using T = std::remove_pointer_t<decltype(value)>;
            if constexpr (std::is_same_v<T, Fixed16>)
                *value = Fixed16::FromRealAddingHalf(c.Real(key, 0.0));
            else if constexpr (std::is_same_v<T, std::string>)
                *value = c.Text(key);
            else if constexpr (std::is_same_v<T, bool>)
                *value = c.Flag(key, whenMissing != 0);
            else
                *value = static_cast<T>(c.Integer(key, whenMissing));
        },
        field);
}

void SaveGroupFields(ProfileGroup group, SplitSettings s, host::Cabinet& c) {
    for (const SettingsRow& row : SettingsSchema())
        if (row.group == group && row.profileKey && IsWritten(row, s)) PutValue(c, row.profileKey, row.ref(s));
}

// Choices past the known ones read as the first; negative ones are kept.
void FoldPastChoices(FieldRef field, std::int32_t count) {
    std::visit(
        [&](auto* value) {
            using T = std::remove_pointer_t<decltype(value)>;
            if constexpr (std::is_enum_v<T>)
                if (static_cast<std::int32_t>(*value) >= count) *value = T{};
        },
        field);
}

void LoadGroupFields(ProfileGroup group, const CabinetReader& c, SplitSettings& s) {
    for (const SettingsRow& row : SettingsSchema()) {
        if (row.group != group || !row.profileKey) continue;
        ReadValue(c, row.profileKey, row.whenMissing, row.ref(s));
        if (row.choiceCount > 0) FoldPastChoices(row.ref(s), row.choiceCount);
    }
}

// A cabinet put into another is a copy, so the nested one is filled first.
template <class Fill>
void PutFilled(host::Cabinet& parent, const std::string& key, Fill&& fill) {
    host::Cabinet nested;
    fill(nested);
    parent.PutCabinet(key, nested);
}

template <class Fill>
void SaveGroup(host::Cabinet& parent, const char* key, ProfileGroup group, const SplitSettings& s, Fill&& more) {
    PutFilled(parent, key, [&](host::Cabinet& c) {
        SaveGroupFields(group, s, c);
        more(c);
    });
}

void SaveDocument(const OutputDocument& d, host::Cabinet& c) {
    c.Put("Filename", d.Filename);
    c.Put("NumRanges", static_cast<std::int32_t>(d.Ranges.size()));
    for (std::size_t j = 0; j < d.Ranges.size(); ++j)
        PutFilled(c, "Range" + std::to_string(j), [&](host::Cabinet& r) {
            StoredPageRange range = ToStored(d.Ranges[j]);
            for (const RangeField& field : kRange) PutValue(r, field.key, field.ref(range));
            PutFilled(r, "Query", [&](host::Cabinet& q) { SavePageQuery(d.Ranges[j].Query, q); });
        });
}

// Only white space before the passwords goes: a blank at the end may be meant.
std::string TrimLeft(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\n\v\f\r");
    return first == std::string::npos ? "" : text.substr(first);
}

void LoadOutput(const CabinetReader& c, SplitSettings& s) {
    LoadGroupFields(ProfileGroup::Output, c, s);
    if (const std::optional<CabinetReader> query = c.Nested("SeparatorQuery"))
        LoadTextQuery(*query, s.Output.SeparatorQuery);
}

// A group missing stops the reading of the groups after it, not the load.
void LoadGroups(const CabinetReader& settings, SplitSettings& s) {
    const std::optional<CabinetReader> security = settings.Nested("SecuritySettings");
    if (!security) return;
    LoadGroupFields(ProfileGroup::Security, *security, s);
    s.Security.Password = TrimLeft(s.Security.Password);
    s.Security.PermPassword = TrimLeft(s.Security.PermPassword);
    const std::optional<CabinetReader> filename = settings.Nested("FilenameSettings");
    if (!filename) return;
    LoadGroupFields(ProfileGroup::Filename, *filename, s);
    const std::optional<CabinetReader> output = settings.Nested("OutputSettings");
    if (output) LoadOutput(*output, s);
}

PageRange LoadRange(const CabinetReader& c) {
    StoredPageRange stored;
    for (const RangeField& field : kRange) ReadValue(c, field.key, field.whenMissing, field.ref(stored));
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
    s.SplitMode = static_cast<SplitMethod>(mode);
    if (!FindMethodRow(s.SplitMode))
        top.Refuse("SplitMode", "is " + std::to_string(mode) + ", not a method from 0 to " +
                                    std::to_string(SplitMethodRows().size() - 1));
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
        SaveGroup(settings, "SecuritySettings", ProfileGroup::Security, s, nothing);
        SaveGroup(settings, "FilenameSettings", ProfileGroup::Filename, s, nothing);
        SaveGroup(settings, "OutputSettings", ProfileGroup::Output, s, [&](host::Cabinet& output) {
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
    const SettingsProblem& first = problems.front();
    if (first.text.find(first.field) != std::string::npos) return Failure{first.text};
    return Failure{"\"" + first.field + "\": " + first.text};
}

}  // namespace tessera
