#include "model/ProfileCabinet.h"

#include <string>

#include "model/CabinetReader.h"
#include "model/QueryCabinet.h"

namespace tessera {
namespace {

constexpr std::int32_t kMaxRanges = 10000;

std::int32_t Stored(auto choice) { return static_cast<std::int32_t>(choice); }

// A cabinet put into another is a copy, so the nested one is filled first.
template <class Fill>
void PutFilled(host::Cabinet& parent, const std::string& key, Fill&& fill) {
    host::Cabinet nested;
    fill(nested);
    parent.PutCabinet(key, nested);
}

void SaveSecurity(const SecuritySettings& s, host::Cabinet& c) {
    c.Put("PasswordProtect", s.bPaswordProtect);
    c.Put("CanCopy", s.bSecurityCanCopy);
    c.Put("CanEdit", s.bSecurityCanEdit);
    c.Put("CanEditNotes", s.bSecurityCanEditNotes);
    c.Put("CanPrint", s.bSecurityCanPrint);
    c.Put("AllowAll", s.AllowAll);
    c.Put("Password", s.Password);
    c.Put("PermPassword", s.PermPassword);
}

void SaveFilename(const FilenameSettings& s, host::Cabinet& c) {
    c.Put("BaseFilename", s.OutputBaseFilename);
    c.Put("OutPutFolder", s.OutputFolder);
    c.Put("FileConstructionMode", Stored(s.FileNameConstructionMode));
    c.Put("FileAutoPrefix", Stored(s.FileNameAutoPrefix));
    c.Put("CreateFolders", s.CreateFoldersForBookmarks);
    c.Put("PageNumber", s.PageNumber);
    c.Put("PageRectLeft", s.TextAreaLeft.Real());
    c.Put("PageRectRight", s.TextAreaRight.Real());
    c.Put("PageRectTop", s.TextAreaTop.Real());
    c.Put("PageRectBottom", s.TextAreaBottom.Real());
    c.Put("StartingNumber", s.StartingNumber);
    c.Put("IncrementBy", s.IncrementBy);
    c.Put("NumPadWithZeroes", s.NumPadWithZeroes);
}

void SaveOutput(const OutputSettings& s, host::Cabinet& c) {
    c.Put("Linearize", s.bLinearize);
    c.Put("RemovePageLabels", s.bRemovePageLabels);
    c.Put("TransferBookmarks", s.bTransferBookmarks);
    c.Put("UpdateLinks", s.bUpdateLinks);
    c.Put("CreateHTMLIndex", s.bCreateHTMLIndex);
    c.Put("EqualPagesNumber", s.NumEqualPages);
    c.Put("StartBookmarkLevel", s.StartBookmarkLevel);
    c.Put("EndBookmarkLevel", s.EndBookmarkLevel);
    c.Put("SeparatorType", Stored(s.SeparatorType));
    c.Put("BlankImageThreshold", s.BlankPageThreshold);
    PutFilled(c, "SeparatorQuery", [&](host::Cabinet& q) { SaveTextQuery(s.SeparatorQuery, q); });
}

void SaveRange(const PageRange& r, host::Cabinet& c) {
    c.Put("StartPage", r.StartPage);
    c.Put("NumPages", r.NumPages);
    c.Put("Options", r.Options);
    c.Put("Watermark", r.Watermark);
    c.Put("SubTitle", r.SubTitle);
    c.Put("FirstPage", r.FirstPage);
    c.Put("LastPage", r.LastPage);
    c.Put("NumActualPages", r.NumActualPages);
    c.Put("Step", r.Step);
    c.Put("TransparencyLevel", r.TransparencyLevel);
    c.Put("WatermarkFontSize", r.WatermarkFontSize);
    c.Put("WatermarkBehindText", r.WatermarkBehindText);
    PutFilled(c, "Query", [&](host::Cabinet& q) { SavePageQuery(r.Query, q); });
}

void SaveDocument(const OutputDocument& d, host::Cabinet& c) {
    c.Put("Filename", d.Filename);
    c.Put("NumRanges", static_cast<std::int32_t>(d.Ranges.size()));
    for (std::size_t j = 0; j < d.Ranges.size(); ++j)
        PutFilled(c, "Range" + std::to_string(j), [&](host::Cabinet& r) { SaveRange(d.Ranges[j], r); });
}

// Only white space before the passwords goes: a blank at the end may be meant.
std::string TrimLeft(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\n\v\f\r");
    return first == std::string::npos ? "" : text.substr(first);
}

void LoadSecurity(const CabinetReader& c, SecuritySettings& s) {
    s.bPaswordProtect = c.Flag("PasswordProtect", false);
    s.bSecurityCanCopy = c.Flag("CanCopy", true);
    s.bSecurityCanEdit = c.Flag("CanEdit", true);
    s.bSecurityCanEditNotes = c.Flag("CanEditNotes", true);
    s.bSecurityCanPrint = c.Flag("CanPrint", true);
    s.AllowAll = c.Flag("AllowAll", true);
    s.Password = TrimLeft(c.Text("Password"));
    s.PermPassword = TrimLeft(c.Text("PermPassword"));
}

void LoadFilename(const CabinetReader& c, FilenameSettings& s) {
    s.OutputBaseFilename = c.Text("BaseFilename");
    s.OutputFolder = c.Text("OutPutFolder");
    // Modes past the known ones read as the first; negative ones are kept.
    const std::int32_t mode = c.Integer("FileConstructionMode", 0);
    s.FileNameConstructionMode = static_cast<NameConstructionMode>(mode >= 5 ? 0 : mode);
    const std::int32_t prefix = c.Integer("FileAutoPrefix", 0);
    s.FileNameAutoPrefix = static_cast<AutoPrefix>(prefix >= 3 ? 0 : prefix);
    s.CreateFoldersForBookmarks = c.Flag("CreateFolders", false);
    s.PageNumber = c.Integer("PageNumber", 0);
    s.TextAreaLeft = Fixed16::FromRealAddingHalf(c.Real("PageRectLeft", 0.0));
    s.TextAreaRight = Fixed16::FromRealAddingHalf(c.Real("PageRectRight", 0.0));
    s.TextAreaTop = Fixed16::FromRealAddingHalf(c.Real("PageRectTop", 0.0));
    s.TextAreaBottom = Fixed16::FromRealAddingHalf(c.Real("PageRectBottom", 0.0));
    s.StartingNumber = c.Integer("StartingNumber", 1);
    s.IncrementBy = c.Integer("IncrementBy", 1);
    s.NumPadWithZeroes = c.Integer("NumPadWithZeroes", 0);
}

void LoadOutput(const CabinetReader& c, OutputSettings& s) {
    s.bLinearize = c.Flag("Linearize", false);
    s.bRemovePageLabels = c.Flag("RemovePageLabels", false);
    s.bTransferBookmarks = c.Flag("TransferBookmarks", false);
    s.bUpdateLinks = c.Flag("UpdateLinks", false);
    s.bCreateHTMLIndex = c.Flag("CreateHTMLIndex", false);
    s.NumEqualPages = c.Integer("EqualPagesNumber", 1);
    s.StartBookmarkLevel = c.Integer("StartBookmarkLevel", 1);
    s.EndBookmarkLevel = c.Integer("EndBookmarkLevel", 1);
    s.SeparatorType = static_cast<SeparatorKind>(c.Integer("SeparatorType", 0));
    s.BlankPageThreshold = c.Integer("BlankImageThreshold", 40);
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
    PageRange r;
    r.StartPage = c.Integer("StartPage", 0);
    r.NumPages = c.Integer("NumPages", 0);
    r.Options = c.Integer("Options", 0);
    r.Watermark = c.Text("Watermark");
    r.SubTitle = c.Text("SubTitle");
    r.FirstPage = c.Integer("FirstPage", 0);
    r.LastPage = c.Integer("LastPage", 0);
    r.NumActualPages = c.Integer("NumActualPages", 0);
    r.Step = c.Integer("Step", 0);
    r.WatermarkFontSize = c.Integer("WatermarkFontSize", 45);
    r.TransparencyLevel = c.Integer("TransparencyLevel", 50);
    r.WatermarkBehindText = c.Flag("WatermarkBehindText", true);
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
    c.Put("SplitMode", Stored(s.SplitMode));
    PutFilled(c, "Settings", [&](host::Cabinet& settings) {
        PutFilled(settings, "SecuritySettings", [&](host::Cabinet& g) { SaveSecurity(s.Security, g); });
        PutFilled(settings, "FilenameSettings", [&](host::Cabinet& g) { SaveFilename(s.Filename, g); });
        PutFilled(settings, "OutputSettings", [&](host::Cabinet& g) { SaveOutput(s.Output, g); });
    });
    c.Put("NumOutputFiles", static_cast<std::int32_t>(s.Outputs.size()));
    for (std::size_t k = 0; k < s.Outputs.size(); ++k)
        PutFilled(c, "Doc" + std::to_string(k), [&](host::Cabinet& d) { SaveDocument(s.Outputs[k], d); });
    c.DropEmptyValues();
}

bool LoadSettingsFromCabinet(SplitSettings& settings, const host::Cabinet& cabinet, std::string* why) {
    try {
        Load(cabinet, settings);
        return true;
    } catch (const CabinetRefusal& refusal) {
        if (why) *why = refusal.what();
        return false;
    }
}

}  // namespace tessera
