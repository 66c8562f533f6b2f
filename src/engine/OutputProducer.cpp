#include "engine/OutputProducer.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string_view>

#include "access/AlertByKey.h"
#include "access/Guarded.h"
#include "access/Host.h"
#include "access/ReadOr.h"
#include "editing/BookmarkTransfer.h"
#include "editing/LinkRewriting.h"
#include "editing/OcrTextLayer.h"
#include "editing/StampWatermark.h"
#include "engine/OutputNaming.h"
#include "engine/OutputSecurity.h"
#include "engine/PageSelection.h"
#include "engine/WorkerCount.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

namespace tessera {
namespace {

constexpr const char* kInfoKeys[] = {"Title", "Author", "Subject", "Keywords", "Creator", "Producer", "CreationDate"};
// The structure tree before /MarkInfo, which the host copies only where the
// output is tagged.
constexpr const char* kCatalogKeys[] = {"URI",        "Lang",         "AA",         "OutputIntents",
                                        "OpenAction", "PageMode",     "PageLayout", "StructTreeRoot",
                                        "MarkInfo",   "OCProperties", "SpiderInfo", "ViewerPreferences",
                                        "Metadata",   "EmbeddedFiles"};

// Parts the host cuts to the output rather than copying as they are.
bool IsCutToOutput(std::string_view key) {
    return key == "StructTreeRoot" || key == "OCProperties" || key == "EmbeddedFiles";
}

bool Wanted(std::string_view key, std::size_t index, const OutputSettings& o) {
    if (key == "StructTreeRoot") return o.Tags;
    if (key == "EmbeddedFiles") return index == 0 || !o.AttachmentsToFirst;
    return true;
}

// The time that stands for now, as the information dictionary writes dates.
std::string PdfDateNow() {
    const std::optional<std::int64_t> fixed = Host().commandLine ? Host().commandLine->FixedTime() : std::nullopt;
    const std::time_t now = fixed ? static_cast<std::time_t>(*fixed) : std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char date[32];
    std::strftime(date, sizeof date, "D:%Y%m%d%H%M%SZ", &utc);
    return date;
}

void CopyDocumentInformation(const DocumentHandle& output, const DocumentHandle& source, std::size_t index,
                             const OutputSettings& settings) {
    host::DocumentServices& docs = *Host().documents;
    for (const char* key : kInfoKeys) {
        const std::string value = ReadOr(std::string(), "an unreadable value counts as none",
                                         [&] { return docs.InfoValue(source.Doc(), key); });
        if (!value.empty()) docs.SetInfoValue(output.Doc(), key, value);
    }
    docs.SetInfoValue(output.Doc(), "ModDate", PdfDateNow());
    for (const char* key : kCatalogKeys) {
        if (!Wanted(key, index, settings) || !docs.HasCatalogEntry(source.Doc(), key)) continue;
        if (!IsCutToOutput(key)) {
            docs.CopyCatalogEntry(output.Doc(), source.Doc(), key);
            continue;
        }
        ReadOr(NothingLeft{}, "a part the host cannot cut to the output is left out of it, as a damaged part",
               [&] { docs.CopyCatalogEntry(output.Doc(), source.Doc(), key); });
    }
}

// Claims of the input its outputs no longer honour are said once, for the first output that drops one.
void SayDroppedClaims(const DocumentHandle& output) {
    static bool said = false;
    if (said) return;
    const std::string dropped = ReadOr(std::string(), "what cannot be asked was not dropped",
                                       [&] { return Host().documents->DroppedClaims(output.Doc()); });
    if (dropped.empty()) return;
    said = true;
    Host().viewer->AlertWarning(FormatText(LookupString("IDS_CLAIMS_DROPPED"), {dropped}));
}

// The pages of the range in the order it puts them into an output.
std::vector<int> PagesOfRange(const PageRange& range, int available) {
    if (!range.Options.IsEmpty()) return ChosenPages(range, available);
    std::vector<int> pages;
    for (int page = range.StartPage; page < std::min(available, range.StartPage + range.NumPages); ++page)
        pages.push_back(page);
    return pages;
}

// With a layer, each page gets the words OCR reads on it where it has no text.
bool InsertRanges(const DocumentHandle& source, DocumentHandle& output, const OutputDocument& planned,
                  OcrTextLayer* layer) {
    for (const PageRange& range : planned.Ranges) {
        const int first = output.PageCount();  // the placeholder too, for the first range
        if (range.NumPages > 0 && !InsertPageRange(source, output, range.StartPage, range.NumPages, range.Options))
            return false;
        // The placeholder, page 0 until the output is finished, is no page of it.
        StampRangeWatermark(output.Doc(), first, output.PageCount() - 1, range, first);
        if (!layer || range.NumPages <= 0) continue;
        int index = std::max(first, 1);
        for (const int page : PagesOfRange(range, source.PageCount())) layer->Add(output.Doc(), index++, page);
    }
    return true;
}

// Without a new document the first insertion fails and stops the run.
host::DocId NewDocumentOrNone() {
    return ReadOr(host::kNoDocument, "without a new document the first insertion fails and stops the run",
                  [] { return Host().documents->NewDocument(); });
}

OutputOutcome FailFinishing() {
    AlertByKey("IDS_APPLICATION_ERROR_SPLIT_OPERATION_FAILED");
    return OutputOutcome::Failed;
}

// The output's path as the file system takes it, spelt one way only.
std::string NormalPath(const SplitSettings& settings, std::size_t index) {
    const std::string path = FileSystemPath(settings.Filename.OutputFolder, settings.Outputs[index].Filename);
    return std::filesystem::path(path).lexically_normal().string();
}

// While the placeholder is still page 0: links and bookmarks lead where their
// pages went. Their failures are shown and the output is saved all the same.
void RetargetLinksAndBookmarks(const DocumentHandle& source, const DocumentHandle& output, std::size_t index,
                               const SplitSettings& settings) {
    if (!settings.Output.LinksOtherOutputs()) return;
    const PagePlaces places(settings.Outputs, source.PageCount());
    const LinkContext context{source,
                              output,
                              index,
                              settings.Outputs,
                              [&settings](std::size_t k) {
                                  return FileSystemPath(settings.Filename.OutputFolder,
                                                        settings.Outputs.at(k).Filename);
                              },
                              places};
    if (settings.Output.bUpdateLinks) UpdateOutputLinks(context);
    if (settings.Output.bTransferBookmarks) TransferBookmarks(context);
}

// The host refuses to write a file over the limit, which the plan measured
// every output to keep, unless it is a page allowed to pass it alone.
std::uint64_t SizeLimitOf(int pages, const OutputSettings& o) {
    if (o.MaxOutputBytes <= 0 || (o.AllowOversize && pages == 1)) return 0;
    return static_cast<std::uint64_t>(o.MaxOutputBytes);
}

// Steps after the pages are in: the placeholder goes, the rest is carried over,
// the file is written, or only its bytes counted into `measured`. Removing the
// placeholder, protecting and saving have a follow-up message of their own
// when they fail.
OutputOutcome FinishAndSave(const DocumentHandle& source, DocumentHandle& output, std::size_t index,
                            const SplitSettings& settings, std::uint64_t* measured, std::string* file) {
    host::DocumentServices& docs = *Host().documents;
    if (!Guarded([&] { docs.DeletePage(output.Doc(), 0); })) return FailFinishing();
    if (output.PageCount() < 1) return OutputOutcome::NoPages;
    CopyDocumentInformation(output, source, index, settings.Output);
    if (settings.Output.bRemovePageLabels) docs.RemovePageLabels(output.Doc());
    if (!Guarded([&] { ApplySecurity(output, settings.Security); })) return FailFinishing();
    if (settings.Output.bLinearize) output.AddSaveFlags(host::kSaveLinearized);
    if (Host().commandLine && Host().commandLine->Deterministic()) output.AddSaveFlags(host::kSaveDeterministic);
    if (!Guarded([&] {
            if (measured)
                *measured = docs.SavedSize(output.Doc(), output.SaveFlags(), file);
            else
                docs.Save(output.Doc(), output.OutputPath(), output.SaveFlags(), &output.Monitor(),
                          SizeLimitOf(output.PageCount(), settings.Output));
        }))
        return FailFinishing();
    SayDroppedClaims(output);
    return OutputOutcome::Written;
}

// The source's progress operation over the writing of the outputs: pages and
// outputs done, ended also when a host error leaves it.
class WritingProgress {
public:
    WritingProgress(const DocumentHandle& source, const SplitSettings& settings)
        : monitor_(source.Monitor()), settings_(settings) {
        for (const OutputDocument& output : settings.Outputs) total_ += CountOutputPages(output);
        monitor_.BeginOperation();
        monitor_.SetDuration(total_);
        monitor_.SetOutputs(0, static_cast<int>(settings.Outputs.size()));
        monitor_.SetValue(0);
    }
    ~WritingProgress() { monitor_.EndOperation(); }
    WritingProgress(const WritingProgress&) = delete;
    WritingProgress& operator=(const WritingProgress&) = delete;

    // Before output `index` is written.
    void Starting(std::size_t index) {
        monitor_.SetText(
            FormatText(LookupString("IDS_EXTRACTING_PAGES_PROGRESS"),
                       {std::int64_t{CountOutputPages(settings_.Outputs[index])}, static_cast<std::int64_t>(index + 1),
                        static_cast<std::int64_t>(settings_.Outputs.size())}));
    }
    // After output `index` was written or left out.
    void Done(std::size_t index) {
        done_ += CountOutputPages(settings_.Outputs[index]);
        monitor_.SetOutputs(static_cast<int>(index + 1), static_cast<int>(settings_.Outputs.size()));
        monitor_.SetValue(done_);
    }

private:
    host::ProgressMonitor& monitor_;
    const SplitSettings& settings_;
    int total_ = 0, done_ = 0;
};

}  // namespace

bool InsertPageRange(const DocumentHandle& source, DocumentHandle& output, int first, int count,
                     PageRangeFlags options) {
    if (!source.HasDocument() || !output.HasDocument()) return false;
    host::DocumentServices& docs = *Host().documents;
    if (output.PageCount() == 0)
        docs.CreatePage(output.Doc(), host::PagePosition::BeforeFirst, docs.MediaBox(source.Doc(), first));
    const int available = source.PageCount();
    if (options.IsEmpty()) {
        if (first < available)
            docs.InsertPages(output.Doc(), host::PagePosition::AfterLast, source.Doc(), first,
                             std::min(count, available - first));
        return true;
    }
    PageRange range;
    range.StartPage = first;
    range.NumPages = count;
    range.Options = options;
    for (int page : ChosenPages(range, available))
        docs.InsertPages(output.Doc(), host::PagePosition::AfterLast, source.Doc(), page, 1);
    return true;
}

namespace {

// The file the plan measured, as it is: an output whose content depends on no
// other output's name is the same file whatever it is called.
OutputOutcome SaveMeasured(const OutputDocument& planned, const SplitSettings& settings, int sourcePages) {
    const std::uint64_t limit = SizeLimitOf(CountOutputPages(planned), settings.Output);
    std::vector<int> pages = OutputPages(planned, sourcePages);
    for (int& page : pages) ++page;
    if (!Guarded([&] {
            Host().documents->SaveFile(*planned.Measured,
                                       FileSystemPath(settings.Filename.OutputFolder, planned.Filename), limit, pages);
        }))
        return FailFinishing();
    return OutputOutcome::Written;
}

OutputOutcome BuildOutput(const DocumentHandle& source, std::size_t index, const SplitSettings& settings,
                          std::uint64_t* measured, std::string* file) {
    const OutputDocument& planned = settings.Outputs.at(index);
    if (planned.Filename.empty()) return OutputOutcome::Failed;
    if (planned.Ranges.empty()) return OutputOutcome::NoPages;
    if (planned.Measured && !measured) return SaveMeasured(planned, settings, source.PageCount());
    DocumentHandle output(NewDocumentOrNone(), DocumentHandle::Ownership::Owned);
    output.SetOutputPath(FileSystemPath(settings.Filename.OutputFolder, planned.Filename));
    std::optional<OcrTextLayer> layer;
    if (settings.Output.Ocr.Layer) layer.emplace(source, settings.Output.Ocr);
    if (!InsertRanges(source, output, planned, layer ? &*layer : nullptr)) return OutputOutcome::Failed;
    if (!output.HasDocument() || output.PageCount() < 1) return OutputOutcome::NoPages;
    RetargetLinksAndBookmarks(source, output, index, settings);
    return FinishAndSave(source, output, index, settings, measured, file);
}

}  // namespace

OutputOutcome ProduceOneOutput(const DocumentHandle& source, std::size_t index, const SplitSettings& settings) {
    return BuildOutput(source, index, settings, nullptr, nullptr);
}

namespace {

// A host error no step answers (a page nested too deep to copy) ends the
// writing here, shown, rather than in the command: the outputs written before
// it are then reported, and the run is partly done.
OutputOutcome ProduceOrShow(const DocumentHandle& source, std::size_t index, const SplitSettings& settings) {
    OutputOutcome outcome = OutputOutcome::Failed;
    Guarded([&] { outcome = ProduceOneOutput(source, index, settings); });
    return outcome;
}

}  // namespace

std::optional<std::uint64_t> MeasureOneOutput(const DocumentHandle& source, std::size_t index,
                                              const SplitSettings& settings, std::string* file) {
    std::uint64_t bytes = 0;
    const SharedOutlinesScope sharedOutlines;  // the plan is one being tried
    if (BuildOutput(source, index, settings, &bytes, file) != OutputOutcome::Written) return std::nullopt;
    return bytes;
}

namespace {

Production ProduceInOrder(const DocumentHandle& source, const SplitSettings& settings, WrittenFiles* batchFiles) {
    Production production;
    WrittenFiles runFiles;
    WrittenFiles& written = batchFiles ? *batchFiles : runFiles;
    const std::size_t n = settings.Outputs.size();
    WritingProgress progress(source, settings);
    for (std::size_t i = 0; i < n; ++i) {
        // Between outputs, so that no half-written file is left behind.
        if (source.Monitor().CancelRequested()) {
            production.end = RunEnd::Cancelled;
            return production;
        }
        const std::string path = NormalPath(settings, i);
        if (written.Has(path)) {
            production.refusal = FormatText(LookupString("IDS_OUTPUT_PATH_WRITTEN_TWICE"), {path});
            Host().viewer->Alert(production.refusal);
            return production;
        }
        progress.Starting(i);
        const OutputOutcome outcome = ProduceOrShow(source, i, settings);
        if (outcome == OutputOutcome::Failed) return production;
        production.written.push_back(outcome == OutputOutcome::Written);
        if (outcome == OutputOutcome::Written) written.Note(path);
        progress.Done(i);
    }
    production.end = RunEnd::Completed;
    return production;
}

// Two outputs of one file are refused when the second comes, which depends
// on whether the first had pages: a plan whose paths may meet is written in
// order, and so is one that meets a file an earlier split of the batch wrote.
bool PathsRepeat(const SplitSettings& settings, const WrittenFiles* batchFiles) {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < settings.Outputs.size(); ++i) {
        paths.push_back(NormalPath(settings, i));
        if (batchFiles && batchFiles->Has(paths.back())) return true;
    }
    return PathsMayMeet(paths);
}

unsigned WorkersFor(const SplitSettings& settings, const WrittenFiles* batchFiles) {
    return settings.Outputs.size() < 2 || PathsRepeat(settings, batchFiles) ? 1 : WorkerCount(settings);
}

// The outputs spread over worker processes, with the outcome, the alerts and
// the end of the run as writing them in order gives.
Production ProduceInWorkers(const DocumentHandle& source, const SplitSettings& settings, unsigned workers,
                            WrittenFiles* batchFiles) {
    Production production;
    WritingProgress progress(source, settings);
    progress.Starting(0);
    // A cancel refuses the next output as it arrives: its file, and those of
    // the outputs after it, are removed, and none is begun again here.
    bool cancelled = false;
    constexpr int kNotBegun = -1;
    Host().workers->RunTasks(
        settings.Outputs.size(), workers,
        [&](std::size_t i) { return cancelled ? kNotBegun : static_cast<int>(ProduceOrShow(source, i, settings)); },
        [&](std::size_t i, int outcome) {
            if (cancelled || (i > 0 && source.Monitor().CancelRequested())) return !(cancelled = true);
            if (static_cast<OutputOutcome>(outcome) == OutputOutcome::Failed) return false;
            production.written.push_back(static_cast<OutputOutcome>(outcome) == OutputOutcome::Written);
            if (batchFiles && production.written.back()) batchFiles->Note(NormalPath(settings, i));
            progress.Done(i);
            if (i + 1 < settings.Outputs.size()) progress.Starting(i + 1);
            return true;
        });
    if (production.written.size() == settings.Outputs.size())
        production.end = RunEnd::Completed;
    else if (cancelled)
        production.end = RunEnd::Cancelled;
    return production;
}

}  // namespace

Production ProduceOutputs(const DocumentHandle& source, const SplitSettings& settings, const RunContext& context) {
    const SharedOutlinesScope sharedOutlines;
    const unsigned workers = WorkersFor(settings, context.batchFiles);
    return workers > 1 ? ProduceInWorkers(source, settings, workers, context.batchFiles)
                       : ProduceInOrder(source, settings, context.batchFiles);
}

}  // namespace tessera
