#include "ui/PlanPreview.h"

#include <memory>

#include "access/CapturedAlerts.h"
#include "access/ReadOr.h"
#include "engine/PageAccount.h"
#include "engine/RunAccount.h"
#include "engine/RunSplit.h"
#include "host/HostError.h"
#include "model/ByteSize.h"
#include "model/SeparatorKindTable.h"
#include "reading/PagePixelReader.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

namespace tessera {
namespace {

std::string Said(const char* key, std::initializer_list<FormatArg> args) { return FormatText(LookupString(key), args); }

// What made the output, in the words of its method: the value or code it
// holds, the bookmark it starts at, the text its first page matches, or how
// the method cuts; and the part of a document the size limit cut it into.
std::string WhyOutput(const SplitSettings& settings, const OutputDocument& output, const host::PlannedOutput& planned,
                      const std::string& title) {
    std::string why = Said("IDS_PLAN_PAGES", {ShortPageList(planned.pages)});
    const OutputSettings& o = settings.Output;
    if (!planned.key.empty()) {
        why += "\n" + Said("IDS_PLAN_VALUE", {planned.key});
        if (planned.keyOcrConfidence >= 0)
            why += " " + Said("IDS_PLAN_OCR_CONFIDENCE", {static_cast<std::int64_t>(planned.keyOcrConfidence)});
    } else if (planned.nameSource == "bookmark") {
        why += "\n" + Said("IDS_PLAN_BOOKMARK", {title});
    } else if (settings.SplitMode == SplitMethod::EqualPages) {
        why += "\n" + Said("IDS_PLAN_EVERY_N", {static_cast<std::int64_t>(o.NumEqualPages)});
    } else if (settings.SplitMode == SplitMethod::SeparatorPages &&
               o.SeparatorType == SeparatorKind::PageMatchingText) {
        why += "\n" + Said("IDS_PLAN_MATCHES", {o.SeparatorQuery.Pattern});
    }
    if (output.Parts > 1)
        why += "\n" +
               Said("IDS_PLAN_SIZE_PART", {static_cast<std::int64_t>(output.Part),
                                           static_cast<std::int64_t>(output.Parts), ByteSizeText(o.MaxOutputBytes)});
    else if (settings.SplitMode == SplitMethod::BySize)
        why += "\n" + Said("IDS_PLAN_AT_MOST", {ByteSizeText(o.MaxOutputBytes)});
    return why;
}

std::string WhyDropped(const host::DroppedPageEntry& dropped) {
    std::string why = dropped.reason;
    if (!dropped.kind.empty() && dropped.kind != dropped.reason) why += " (" + dropped.kind + ")";
    if (!dropped.value.empty()) why += ": " + dropped.value;
    return why;
}

std::string Summary(const host::PageAccount& account, std::size_t outputs) {
    return Said(
        "IDS_PLAN_SUMMARY",
        {static_cast<std::int64_t>(outputs), static_cast<std::int64_t>(account.inOutputs.size()),
         static_cast<std::int64_t>(account.dropped.size()), static_cast<std::int64_t>(account.inNoOutput.size())});
}

// Pages drawn through a reader of their own, kept as long as the preview is.
std::function<host::PageImage(int, int, int, std::string&)> PictureOf(const DocumentHandle& document) {
    auto reader = std::make_shared<PagePixelReader>();
    if (!ReadOr(false, "a document with no file to draw from shows its pages as empty places",
                [&] { return reader->Attach(document); }))
        return {};
    return [reader](int page, int width, int height, std::string& reason) {
        const auto unreadable = [&reason](const host::HostError& error) {
            reason = error.what();
            return host::PageImage{};
        };
        return ReadOr(unreadable, "a page that cannot be drawn says why in its place",
                      [&] { return reader->Picture(page - 1, width, height); });
    };
}

}  // namespace

PlanPreview::Words PlanWords() {
    return {LookupString("IDS_PLAN_WINDOW"), LookupString("IDS_PLAN_BUTTON"), LookupString("IDS_PLAN_NO_PAGES"),
            LookupString("IDS_PLAN_IN_NO_OUTPUT"), LookupString("IDS_PLAN_CANNOT_DRAW")};
}

bool PlanReadsEveryPage(const SplitSettings& settings) {
    if (settings.SplitMode != SplitMethod::SeparatorPages) return false;
    const SeparatorKindRow* row = FindSeparatorKindRow(settings.Output.SeparatorType);
    return row && row->scan != SeparatorScan::NoContent;
}

PlanPreview MakePlanPreview(const SplitSettings& fields, const DocumentHandle& document) {
    PlanPreview preview;
    SplitSettings settings = SettingsForRun(fields);
    const CapturedAlerts said;
    if (const std::optional<std::string> refusal = SettingsRefusal(settings, document)) {
        preview.state = PlanPreview::State::Refused;
        preview.message = *refusal;
        return preview;
    }
    host::PageAccount account;
    const std::optional<std::vector<IndexEntry>> entries = PlanAndName(settings, document, LocalToday(), &account);
    if (!entries) {
        preview.state = PlanPreview::State::Refused;
        preview.message = said.Errors().empty() ? LookupString("IDS_PLAN_FAILED") : said.Errors().front();
        return preview;
    }
    preview.state = PlanPreview::State::Planned;
    const std::vector<host::PlannedOutput> plan = PlannedOutputs(settings, *entries, document.PageCount());
    std::vector<std::vector<int>> pages;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const IndexEntry& entry = (*entries)[i];
        const bool ownName = entry.source == "bookmark" || entry.source == "document" || entry.source == "value";
        preview.outputs.push_back({plan[i].file, WhyOutput(settings, settings.Outputs[i], plan[i], entry.title),
                                   static_cast<int>(plan[i].pages.size()), ownName ? entry.title : ""});
        pages.push_back(plan[i].pages);
    }
    for (host::PlanPlace place : host::PlanPlaces(pages, account)) {
        const std::string why = place.dropped ? WhyDropped(*place.dropped) : "";
        place.dropped = nullptr;
        preview.places.push_back({place, why});
    }
    preview.summary = Summary(account, plan.size());
    preview.warnings = said.Warnings();
    preview.picture = PictureOf(document);
    return preview;
}

}  // namespace tessera
