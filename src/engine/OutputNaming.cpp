#include "engine/OutputNaming.h"

#include <algorithm>
#include <cctype>
#include "model/SeparatorKindTable.h"

#include "access/Host.h"
#include "access/ReadOr.h"
#include "engine/SafeFileName.h"
#include "engine/TemplateFields.h"
#include "reading/PageTextExtractor.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"
#include "strings/Utf8Text.h"

namespace tessera {
namespace {

struct PathParts {
    std::string folder;  // up to and including the last separator
    std::string base;    // the last component without its extension
};

PathParts SplitPath(const std::string& name) {
    const std::size_t slash = name.find_last_of("\\/");
    PathParts parts;
    parts.folder = slash == std::string::npos ? "" : name.substr(0, slash + 1);
    parts.base = slash == std::string::npos ? name : name.substr(slash + 1);
    const std::size_t dot = parts.base.rfind('.');
    if (dot != std::string::npos) parts.base.erase(dot);
    return parts;
}

// A template written "INV-{1}.pdf" means the name, not "INV-1001_pdf.pdf".
std::string WithoutPdfEnding(std::string name) {
    const std::size_t at = name.size() >= kPdfExtension.size() ? name.size() - kPdfExtension.size() : 0;
    std::string ending = name.substr(at);
    for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ending == kPdfExtension && name.size() > kPdfExtension.size()) name.erase(at);
    return name;
}

std::string FileBaseName(const std::string& path) { return SplitPath(path).base; }

std::string Decimal(std::size_t index) { return std::to_string(index + 1); }

std::string Letters(std::size_t index) { return std::string(index / 26 + 1, static_cast<char>('A' + index % 26)); }

// The label of the output's first page, or its number when that page has none.
std::string LabelPart(const OutputDocument& output, std::size_t index, const DocumentHandle& source) {
    if (output.Ranges.empty()) return Decimal(index);
    const std::string label = ReadOr(std::string(), "a page without a readable label is named by its number", [&] {
        return source.HasDocument() ? Host().documents->PageLabel(source.Doc(), output.Ranges[0].FirstPage)
                                    : std::string();
    });
    return label.empty() ? Decimal(index) : label;
}

// The text in the settings' area of the output's first page, or its number when there is none.
std::string TextPart(const FilenameSettings& f, const OutputDocument& output, std::size_t index,
                     const DocumentHandle& source, PageTextExtractor& extractor) {
    if (output.Ranges.empty()) return Decimal(index);
    // Words come with a blank after each; a name does not end in one.
    const std::string text = TrimText(ReadOr(std::string(), "an unreadable page is named by its number", [&] {
        return GetPageTextInArea(extractor, source, output.Ranges[0].FirstPage, f.TextArea).value_or("");
    }));
    return text.empty() ? Decimal(index) : text;
}

// What a naming mode adds for an output. Page spans, labels and page text
// are upper-cased as every named output is; numbers and letters are written
// as they are.
struct NamingContext {
    const SplitSettings& settings;
    const OutputDocument& output;
    std::size_t index;
    const DocumentHandle& source;
    PageTextExtractor& extractor;
};

// The namer of each row of NamingModeChoices.
struct ModeNamer {
    NameConstructionMode mode;
    std::string (*name)(const NamingContext&);
};

constexpr ModeNamer kModeNamers[] = {
    {NameConstructionMode::AddNumber, [](const NamingContext& c) { return Decimal(c.index); }},
    {NameConstructionMode::AddLetter, [](const NamingContext& c) { return Letters(c.index); }},
    {NameConstructionMode::AddPageRanges, [](const NamingContext& c) { return UpperCase(PageSpanName(c.output)); }},
    {NameConstructionMode::AddPageLabel,
     [](const NamingContext& c) {
         return c.output.Ranges.empty() ? "" : UpperCase(LabelPart(c.output, c.index, c.source));
     }},
    {NameConstructionMode::AddTextFromPage,
     [](const NamingContext& c) {
         return c.output.Ranges.empty()
                    ? ""
                    : UpperCase(TextPart(c.settings.Filename, c.output, c.index, c.source, c.extractor));
     }},
};

// A stored integer that names no mode adds nothing.
std::string AutomaticPart(const SplitSettings& settings, const OutputDocument& output, std::size_t index,
                          const DocumentHandle& source, PageTextExtractor& extractor) {
    for (const ModeNamer& namer : kModeNamers)
        if (namer.mode == settings.Filename.FileNameConstructionMode)
            return namer.name({settings, output, index, source, extractor});
    return "";
}

int CountBackslashes(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\\')); }

// "\" marks subfolders; an empty folder name ("A\\B", "\B", "A\") would
// make two spellings of one file.
std::string WithoutEmptyFolders(const std::string& stem) {
    const std::size_t slash = stem.rfind('\\');
    if (slash == std::string::npos) return stem;
    std::string out;
    for (std::size_t start = 0, end; start < slash; start = end + 1) {
        end = stem.find('\\', start);
        if (end > start) out += stem.substr(start, end - start) + "\\";
    }
    return out + stem.substr(slash + 1);
}

// A file with no name of its own would be hidden (".pdf") or replace its
// folder's; it is called by its number instead.
std::string WithVisibleName(const std::string& stem, std::size_t index) {
    return stem.empty() || stem.back() == '\\' ? stem + Decimal(index) : stem;
}

// Each folder name cut to the file system's limit, and the file name cut so
// that `reserved` more bytes and ".pdf" still fit.
std::string FitToFileSystem(std::string_view stem, std::size_t reserved) {
    std::string out;
    std::size_t start = 0;
    for (std::size_t end; (end = stem.find('\\', start)) != std::string_view::npos; start = end + 1)
        out += CutToBytes(stem.substr(start, end - start), kMaxFileNameBytes) + "\\";
    return out + CutToBytes(stem.substr(start), kMaxFileNameBytes - kPdfExtension.size() - reserved);
}

}  // namespace

std::string UsedNames::MakeUniqueName(std::string_view stem) {
    int& next = nextNumber_[std::string(stem)];
    if (next == 0) {
        next = 1;
        std::string name = FitToFileSystem(stem, 0);
        if (names_.insert(UpperCase(name)).second) return name;
    }
    for (;;) {
        const std::string number = FormatText("_%d", {next++});
        std::string name = FitToFileSystem(stem, number.size()) + number;
        if (names_.insert(UpperCase(name)).second) return name;
    }
}

std::string MonthName(int month) {
    static const char* const kKeys[] = {"IDS_MONTH_JAN", "IDS_MONTH_FEB", "IDS_MONTH_MAR", "IDS_MONTH_APR",
                                        "IDS_MONTH_MAY", "IDS_MONTH_JUN", "IDS_MONTH_JUL", "IDS_MONTH_AUG",
                                        "IDS_MONTH_SEP", "IDS_MONTH_OCT", "IDS_MONTH_NOV", "IDS_MONTH_DEC"};
    if (month < 1 || month > 12) return "Unknown";
    return LookupString(kKeys[month - 1]);
}

std::string NamePrefix(const FilenameSettings& settings, const std::string& sourcePath, const std::tm& today) {
    using enum AutoPrefix;
    switch (settings.FileNameAutoPrefix) {
        case PrefixFilename: {
            const std::string name = FileBaseName(sourcePath);
            return name.empty() ? "NoName" : name;
        }
        case PrefixTodaysDate: {
            std::string format = LookupString("IDS_PREFIX_DATE_FORMAT_STRING");
            if (format.empty()) format = "%s-%d-%d";
            return FormatText(
                format, {MonthName(today.tm_mon + 1), std::int64_t{today.tm_mday}, std::int64_t{today.tm_year} + 1900});
        }
        default:
            return "";
    }
}

namespace {

std::string PlannedNameSource(SplitMethod method) {
    switch (method) {
        case SplitMethod::BookmarkLevels:
            return "bookmark";
        case SplitMethod::ManualRanges:
            return "document";
        default:
            return "value";
    }
}

std::string SuffixNameSource(NameConstructionMode mode) {
    static const char* const kWords[] = {"number", "letter", "pages", "label", "text"};
    const auto at = static_cast<std::size_t>(mode);
    return at < std::size(kWords) ? kWords[at] : "number";
}

}  // namespace

std::vector<IndexEntry> NameOutputs(SplitSettings& settings, const DocumentHandle& source, const std::tm& today) {
    const FilenameSettings& f = settings.Filename;
    const std::string sourcePath =
        ReadOr(std::string(), "naming cannot fail: an unknown source file gives the \"NoName\" prefix",
               [&] { return source.FilePath(); });
    const std::string prefix = NamePrefix(f, sourcePath, today);
    UsedNames used;
    PageTextExtractor extractor(settings.Output.Ocr);  // one word finder for every name taken from page text
    // The settings were checked: a template in use parses and its pattern compiles.
    const Result<NameTemplate> nameTemplate = NameTemplate::Parse(f.NameTemplate);
    const bool fromTemplate = f.FileNameConstructionMode == NameConstructionMode::UseTemplate && nameTemplate;
    SearchPattern pattern;
    if (fromTemplate && !f.NamePattern.empty())
        (void)pattern.Compile(f.NamePattern, !settings.Output.SeparatorQuery.MatchCase);
    TemplateSource fields{source, FileBaseName(sourcePath), today, settings.Outputs.size(), pattern, extractor};
    fields.outputsAreParts = settings.SplitMode == SplitMethod::BySize;
    const OutputSettings& o = settings.Output;
    std::optional<PageKeyReader> keys;
    if (fromTemplate && UsesValueChange(settings)) keys.emplace(source, o.ChangeKey, o.SeparatorQuery, o.Ocr);
    if (keys && keys->Ready()) fields.keys = &*keys;
    const bool listed = !f.OutputNames.empty() && f.OutputNames.size() == CountDocuments(settings.Outputs);
    // A template that says where parts go has them; else, whatever made the
    // name, a part the size limit cut is "_1", "_2"... of its document's.
    const bool templateNamesParts = fromTemplate && (nameTemplate->Uses("part") || nameTemplate->Uses("parts"));
    std::vector<IndexEntry> entries;
    std::size_t document = 0;
    std::string documentName;  // the template's name for the document a part belongs to
    for (std::size_t i = 0; i < settings.Outputs.size(); ++i) {
        OutputDocument& output = settings.Outputs[i];
        if (i > 0 && output.Part <= 1) ++document;
        const std::string partSuffix = output.Parts > 1 ? "_" + std::to_string(output.Part) : "";
        IndexEntry entry;
        std::string stem;
        const bool named = !output.Filename.empty() && !fromTemplate && !listed;
        entry.source = listed         ? "names-list"
                       : fromTemplate ? "template"
                       : named        ? PlannedNameSource(settings.SplitMode)
                                      : SuffixNameSource(f.FileNameConstructionMode);
        if (listed) {
            stem = f.OutputNames[document] + partSuffix;
            std::replace(stem.begin(), stem.end(), '/', '\\');
        } else if (fromTemplate) {
            if (templateNamesParts || output.Part <= 1)
                documentName = WithoutPdfEnding(nameTemplate->Expand(TemplateFields(output, i, fields)));
            stem = documentName + (templateNamesParts ? "" : partSuffix);
            std::replace(stem.begin(), stem.end(), '/', '\\');
        } else if (named) {
            const PathParts parts = SplitPath(output.Filename);
            stem = UpperCase((f.CreateFoldersForBookmarks ? parts.folder : "") + prefix + f.OutputBaseFilename +
                             parts.base);
            stem += partSuffix;
            entry.title = parts.base;
            entry.level = CountBackslashes(output.Filename);
        } else {
            stem = prefix + f.OutputBaseFilename + AutomaticPart(settings, output, i, source, extractor);
        }
        // Uniqueness is decided on the name as it will be on disk, so that two
        // texts that differ only in replaced characters cannot meet in one file.
        stem = used.MakeUniqueName(WithVisibleName(WithoutEmptyFolders(MakeSafe(stem, NameCharSet::General)), i));
        if (!named) {
            entry.title = stem;
            entry.level = CountBackslashes(stem);
        }
        entry.file = stem + ".pdf";
        output.Filename = f.OutputFolder + entry.file;
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string FileSystemPath(const std::string& outputFolder, const std::string& filename) {
    std::string path = filename;
    const std::size_t start = filename.compare(0, outputFolder.size(), outputFolder) == 0 ? outputFolder.size() : 0;
    std::replace(path.begin() + static_cast<std::ptrdiff_t>(start), path.end(), '\\', '/');
    return path;
}

}  // namespace tessera
