#include "ui/PageRangeDialog.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "access/Host.h"
#include "engine/BookmarkTarget.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"
#include "ui/BookmarkPickerDialog.h"

namespace tessera {
namespace {

constexpr ControlId kStart = 1005, kLast = 1006, kCount = 1001, kEven = 1008, kOdd = 1009, kReverse = 1010,
                    kWatermark = 1011, kBehind = 1124, kText = 1012, kSlider = 1121, kPercent = 1123,
                    kPageCountLine = 1042, kStartFromBookmark = 1040, kLastFromBookmark = 1041, kRangeGroup = 3001,
                    kOptionsGroup = 3002, kWatermarkGroup = 3003;

// Anything but a page number the range can hold reads as 0, which no rule accepts.
std::int64_t ReadNumber(const std::string& text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= 0 ? value : 0;
}

// Only what differs is written, so an edit the user is typing in keeps its
// caret unless its number changes.
void WriteText(DialogView& view, ControlId id, const std::string& text) {
    if (view.Text(id) != text) view.SetText(id, text);
}

}  // namespace

PageRangeDialog::PageRangeDialog(const DocumentHandle& document, int pageCount, std::string* lastWatermark)
    : document_(document), pageCount_(pageCount), lastWatermark_(lastWatermark) {
    if (lastWatermark_) initial_.text = *lastWatermark_;
}

PageRangeDialog::PageRangeDialog(const DocumentHandle& document, int pageCount, const PageRange& existing,
                                 std::string* lastWatermark)
    : document_(document), pageCount_(pageCount), range_(existing), lastWatermark_(lastWatermark) {
    initial_.start = std::int64_t{existing.StartPage} + 1;
    initial_.count = existing.NumPages;
    initial_.last = initial_.start + initial_.count - 1;
    initial_.even = !existing.Options.OddOnly();
    initial_.odd = !existing.Options.EvenOnly();
    initial_.reverse = existing.Options.Has(PageRangeFlag::ReverseOrder);
    initial_.watermark = existing.Watermark.has_value();
    if (existing.Watermark) {
        initial_.behind = existing.Watermark->BehindText;
        initial_.text = existing.Watermark->Text;
        initial_.transparency = existing.Watermark->TransparencyLevel;
    }
}

// The three page numbers one under the other.
std::vector<ControlId> PageRangeDialog::AlignedGroups() const { return {kRangeGroup}; }

std::vector<ControlSpec> PageRangeDialog::Controls() const {
    return {
        {kRangeGroup, ControlKind::Group, "Page Range"},
        {kStart, ControlKind::NumberEdit, "Starting Page Number:", kRangeGroup},
        {kStartFromBookmark, ControlKind::Button, "<< From Bookmark...", kRangeGroup, true},
        {kLast, ControlKind::NumberEdit, "Last Page Number:", kRangeGroup},
        {kLastFromBookmark, ControlKind::Button, "<< From Bookmark...", kRangeGroup, true},
        {kCount, ControlKind::NumberEdit, "Number of Pages:", kRangeGroup},
        {kPageCountLine, ControlKind::Text, "", kRangeGroup},
        {kOptionsGroup, ControlKind::Group, "Options"},
        {kEven, ControlKind::CheckBox, "Include even pages from the range", kOptionsGroup},
        {kOdd, ControlKind::CheckBox, "Include odd pages from the range", kOptionsGroup},
        {kReverse, ControlKind::CheckBox, "Reverse page order in the output document", kOptionsGroup},
        {kWatermarkGroup, ControlKind::Group, "Watermark Options"},
        {kWatermark, ControlKind::CheckBox, "Add watermark to every page in the output", kWatermarkGroup},
        {kText, ControlKind::Edit, "Watermark Text:", kWatermarkGroup},
        {kBehind, ControlKind::CheckBox, "Watermark is added behind page content", kWatermarkGroup},
        {kSlider, ControlKind::Slider, "Transparency:", kWatermarkGroup},
        {kPercent, ControlKind::Text, "", kWatermarkGroup, true},
        {kOkButton, ControlKind::Button, "OK"},
        {kCancelButton, ControlKind::Button, "Cancel", 0, true},
    };
}

void PageRangeDialog::Open(DialogView& view) {
    view_ = &view;
    view.SetText(kPageCountLine, pageCount_ > 0
                                     ? FormatText(LookupString("IDS_THERE_ARE_TOTAL_N_PAGES_IN_CURRENT_DOCUMENT"),
                                                  {std::int64_t{pageCount_}})
                                     : "");
    initial_.transparency = std::clamp(initial_.transparency, 0, 100);
    view.SetSlider(kSlider, {0, 100, 10, 10}, initial_.transparency);
    Write(initial_);
    ApplyWatermarkEnabling();
    ApplyOkRule();
}

PageRangeDialog::Fields PageRangeDialog::Read() const {
    Fields fields;
    fields.start = ReadNumber(view_->Text(kStart));
    fields.last = ReadNumber(view_->Text(kLast));
    fields.count = ReadNumber(view_->Text(kCount));
    fields.even = view_->Checked(kEven);
    fields.odd = view_->Checked(kOdd);
    fields.reverse = view_->Checked(kReverse);
    fields.watermark = view_->Checked(kWatermark);
    fields.behind = view_->Checked(kBehind);
    fields.text = view_->Text(kText);
    fields.transparency = view_->SliderValue(kSlider);
    return fields;
}

void PageRangeDialog::Write(const Fields& fields) {
    WriteText(*view_, kStart, std::to_string(fields.start));
    WriteText(*view_, kLast, std::to_string(fields.last));
    WriteText(*view_, kCount, std::to_string(fields.count));
    view_->SetChecked(kEven, fields.even);
    view_->SetChecked(kOdd, fields.odd);
    view_->SetChecked(kReverse, fields.reverse);
    view_->SetChecked(kWatermark, fields.watermark);
    view_->SetChecked(kBehind, fields.behind);
    WriteText(*view_, kText, fields.text);
    ShowTransparency(fields.transparency);
}

void PageRangeDialog::StartChanged() {
    Fields fields = Read();
    fields.last = fields.start + fields.count - 1;
    Write(fields);
}

void PageRangeDialog::LastChanged() {
    Fields fields = Read();
    fields.start = std::min(fields.start, fields.last);
    fields.count = fields.last - fields.start + 1;
    Write(fields);
    ApplyOkRule();
}

void PageRangeDialog::CountChanged() {
    Fields fields = Read();
    fields.count = std::max<std::int64_t>(fields.count, 1);
    fields.start = std::min(fields.start, fields.last);
    fields.last = fields.start + fields.count - 1;
    Write(fields);
    ApplyOkRule();
}

void PageRangeDialog::ApplyOkRule() {
    const Fields fields = Read();
    view_->SetEnabled(kOkButton,
                      (fields.even || fields.odd) && fields.count != 0 && fields.start != 0 && fields.last != 0);
}

void PageRangeDialog::ApplyWatermarkEnabling() {
    const bool on = view_->Checked(kWatermark);
    for (ControlId id : {kText, kPercent, kBehind}) view_->SetEnabled(id, on);
}

void PageRangeDialog::ShowTransparency(int percent) { WriteText(*view_, kPercent, std::to_string(percent) + "%"); }

void PageRangeDialog::Changed(ControlId id) {
    switch (id) {
        case kStart:
            StartChanged();
            break;
        case kLast:
            LastChanged();
            break;
        case kCount:
            CountChanged();
            break;
        case kEven:
        case kOdd:
            ApplyOkRule();
            break;
        case kWatermark:
            ApplyWatermarkEnabling();
            break;
        case kSlider:
            ShowTransparency(view_->SliderValue(kSlider));
            break;
        case kStartFromBookmark:
            FromBookmark(true);
            break;
        case kLastFromBookmark:
            FromBookmark(false);
            break;
        default:
            break;
    }
}

void PageRangeDialog::FromBookmark(bool start) {
    if (!document_.HasDocument()) {
        view_->ShowMessageByKey("IDS_BOOKMARKS_NOT_AVAILABLE");
        return;
    }
    BookmarkPickerDialog picker(document_);
    if (!view_->RunModal(picker)) return;
    const std::optional<int> page = GetBookmarkTargetPage(document_, picker.Result());
    if (!page) {
        view_->ShowMessageByKey("IDS_CANT_COMPUTE_RANGE_FROM_BOOKMARK");
        return;
    }
    Fields fields = Read();
    (start ? fields.start : fields.last) = std::int64_t{*page} + 1;
    Write(fields);
    start ? StartChanged() : LastChanged();
}

PageRange PageRangeDialog::Build(const Fields& fields) const {
    PageRange range = range_;
    ResetPageFields(range);
    if (fields.even && !fields.odd) range.Options.Set(PageRangeFlag::EvenPages);
    if (fields.odd && !fields.even) range.Options.Set(PageRangeFlag::OddPages);
    if (fields.reverse) range.Options.Set(PageRangeFlag::ReverseOrder);
    // The size has no control here: a watermark keeps the one it had.
    const WatermarkStyle kept = range_.Watermark.value_or(WatermarkStyle{});
    SetWatermark(range, {fields.watermark ? fields.text : "", fields.transparency, kept.FontSize, fields.behind});
    range.StartPage = static_cast<std::int32_t>(fields.start - 1);
    // Without a document nothing bounds the last page but the record's own numbers.
    const std::int64_t room = std::int64_t{std::numeric_limits<std::int32_t>::max()} - range.StartPage;
    if (fields.count > 0) range.NumPages = static_cast<std::int32_t>(std::min(fields.count, room));
    ComputeActualPages(range);
    return range;
}

bool PageRangeDialog::Accept() {
    const Fields fields = Read();
    if (fields.start == 0) {
        view_->ShowMessageByKey("IDS_INVALID_PAGE_NUMBER_SPECIFIED_PAGE_NUMBERS_START_FROM_1");
        return false;
    }
    if (pageCount_ > 0 && fields.last > pageCount_) {
        view_->ShowMessage(FormatText(LookupString("IDS_PAGE_NUMBER_OUT_OF_BOUNDS"), {std::int64_t{pageCount_}}));
        return false;
    }
    const PageRange range = Build(fields);
    if (range.NumActualPages < 1) {
        view_->ShowMessageByKey("IDS_THERE_ARE_ZERO_PAGES_IN_THIS_RANGE");
        return false;
    }
    range_ = range;
    if (lastWatermark_) *lastWatermark_ = fields.text;
    return true;
}

}  // namespace tessera
