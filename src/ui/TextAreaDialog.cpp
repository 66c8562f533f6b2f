#include "ui/TextAreaDialog.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "access/Host.h"
#include "access/ModulePath.h"
#include "access/ReadOr.h"
#include "host/HostError.h"
#include "model/SettingsCheck.h"
#include "reading/PagePixelReader.h"
#include "reading/PageTextExtractor.h"
#include "reading/ShownPageSize.h"
#include "strings/TextFormat.h"
#include "strings/Utf8Text.h"
#include "ui/AreaUnits.h"

namespace tessera {
namespace {

constexpr ControlId kLeft = 1116, kRight = 1117, kTop = 1118, kBottom = 1036, kUnits = 1114, kMessage = 1128,
                    kPicture = 1115, kPagePicture = 1119, kPageNumber = 1120, kWords = 1121;
// A page as large as a 1366×768 screen leaves room for beside the edits.
constexpr int kPictureWidth = 360, kPictureHeight = 440;
// The words inside shown as they start: enough to tell the right area.
constexpr std::size_t kShownWordBytes = 160;
constexpr const char* kUnitsValue = "Units";

std::string UnitsKey() { return ModuleBaseName() + "\\TextFromPage"; }

// A stored unit no entry stands for reads as inches, the first entry.
AreaUnit StoredUnit() {
    const auto stored = Host().registry->ReadSection(UnitsKey()).Dword(kUnitsValue);
    return stored && *stored <= static_cast<std::uint32_t>(AreaUnit::Points) ? static_cast<AreaUnit>(*stored)
                                                                             : AreaUnit::Inches;
}

}  // namespace

namespace {

// The words inside the area, as many as fit a line or two; why where they cannot be read.
std::string WordsIn(PageTextExtractor& words, int page, const PageArea& area) {
    const auto unreadable = [](const host::HostError& error) { return std::string(error.what()); };
    return ReadOr(unreadable, "words that cannot be read say why in their place", [&] {
        words.Extract(page - 1, area, true);
        std::string text = words.Text();
        if (text.size() > kShownWordBytes) text = CutToBytes(text, kShownWordBytes) + "…";
        return FormatText(LookupString(text.empty() ? "IDS_AREA_NO_WORDS" : "IDS_AREA_WORDS"), {text});
    });
}

}  // namespace

struct TextAreaDialog::Pages {
    PagePixelReader pixels;
    PageTextExtractor words;
    int page = 1;      // 1-based
    double scale = 0;  // pixels of the picture shown per point of the page
    explicit Pages(const OcrSettings& ocr) : words(ocr) {}
};

TextAreaDialog::TextAreaDialog(const PageArea& area, std::string title, std::string message,
                               const DocumentHandle* document, const OcrSettings& ocr)
    : area_(area), title_(std::move(title)), message_(std::move(message)), document_(document), ocr_(ocr) {}

TextAreaDialog::~TextAreaDialog() = default;

// The four edges' edits in two columns.
std::vector<ControlId> TextAreaDialog::AlignedGroups() const { return {0}; }

std::vector<ControlSpec> TextAreaDialog::Controls() const {
    std::vector<ControlSpec> specs = {
        {kMessage, ControlKind::Text, "Message"},
        {kPicture, ControlKind::Picture, "", 0, false, 0, Picture::PageAreaSample},
        {kLeft, ControlKind::Edit, "Left:"},
        {kRight, ControlKind::Edit, "Right:", 0, true},
        {kTop, ControlKind::Edit, "Top:"},
        {kBottom, ControlKind::Edit, "Bottom:", 0, true},
        {kUnits, ControlKind::DropDown, "Distance Units:"},
    };
    if (document_ && document_->HasDocument()) {
        specs.push_back({kPageNumber, ControlKind::NumberEdit, "Page:"});
        specs.push_back({kPagePicture, ControlKind::PageArea, ""});
        specs.push_back({kWords, ControlKind::Text, " "});
    }
    specs.push_back({kOkButton, ControlKind::Button, "OK"});
    specs.push_back({kCancelButton, ControlKind::Button, "Cancel", 0, true});
    return specs;
}

void TextAreaDialog::Open(DialogView& view) {
    view_ = &view;
    if (!title_.empty()) view.SetTitle(title_);
    const bool onPage = document_ && document_->HasDocument();
    view.SetText(kMessage, LookupString(onPage && message_ == kNameAreaMessage ? kNameAreaOnPageMessage : message_));
    view.FillList(kUnits, {{"Inches", 0}, {"Centimeters", 1}, {"Millimeters", 2}, {"Points", 3}});
    const AreaUnit unit = StoredUnit();
    view.SelectListData(kUnits, static_cast<int>(unit));
    view.SetText(kLeft, ShowInUnit(std::min(area_.left, area_.right), unit));
    view.SetText(kRight, ShowInUnit(std::max(area_.left, area_.right), unit));
    view.SetText(kTop, ShowInUnit(std::min(area_.top, area_.bottom), unit));
    view.SetText(kBottom, ShowInUnit(std::max(area_.top, area_.bottom), unit));
    if (!document_ || !document_->HasDocument()) return;
    // The page itself shows what the sample explains, and the dialog fits a small screen without it.
    view.SetVisible(kPicture, false);
    pages_ = std::make_unique<Pages>(ocr_);
    ReadOr(NothingLeft{}, "without readers the page shows as an empty place, and the edits work as ever", [&] {
        pages_->pixels.Attach(*document_);
        pages_->words.Attach(*document_, 1);
    });
    view.SetText(kPageNumber, "1");
    ShowPage();
}

std::optional<PageArea> TextAreaDialog::EdgesTyped() const {
    // The numbers are taken in the unit chosen now: choosing another one does
    // not convert what the edits show.
    const auto unit = static_cast<AreaUnit>(view_->SelectedListData(kUnits).value_or(0));
    const std::optional<Fixed16> left = ReadInUnit(view_->Text(kLeft), unit);
    const std::optional<Fixed16> right = ReadInUnit(view_->Text(kRight), unit);
    const std::optional<Fixed16> top = ReadInUnit(view_->Text(kTop), unit);
    const std::optional<Fixed16> bottom = ReadInUnit(view_->Text(kBottom), unit);
    if (!left || !right || !top || !bottom) return std::nullopt;
    return PageArea{*left, *top, *right, *bottom};
}

std::optional<PageArea> TextAreaDialog::TypedArea() const {
    const std::optional<PageArea> typed = EdgesTyped();
    if (!typed) return std::nullopt;
    const PageArea& e = *typed;
    return PageArea{std::min(e.left, e.right), std::min(e.top, e.bottom), std::max(e.left, e.right),
                    std::max(e.top, e.bottom)};
}

void TextAreaDialog::ShowPage() {
    Pages& pages = *pages_;
    std::string said;
    const auto unreadable = [&said](const host::HostError& error) {
        said = error.what();
        return host::PageImage{};
    };
    const host::PageImage picture = ReadOr(unreadable, "a page that cannot be drawn says why under its place", [&] {
        return pages.pixels.Picture(pages.page - 1, kPictureWidth, kPictureHeight);
    });
    const ShownSize size = ReadOr(ShownSize{}, "a page without a size has no area drawn on it",
                                  [&] { return ShownPageSize(*document_, pages.page - 1); });
    pages.scale = size.width > 0 ? picture.width / size.width : 0;
    const std::optional<PageArea> area = TypedArea();
    std::optional<PixelRect> shown;
    if (area && pages.scale > 0) {
        const auto pixels = [&](Fixed16 points) { return static_cast<int>(std::lround(points.Real() * pages.scale)); };
        shown = PixelRect{pixels(area->left), pixels(area->top), pixels(area->right), pixels(area->bottom)};
    }
    view_->ShowPageArea(kPagePicture, picture, shown);
    if (said.empty() && area && pages.words.Attached()) said = WordsIn(pages.words, pages.page, *area);
    view_->SetText(kWords, said.empty() ? " " : said);
}

void TextAreaDialog::TakeDrawnArea() {
    const std::optional<PixelRect> drawn = view_->DrawnArea(kPagePicture);
    if (!drawn || pages_->scale <= 0) return;
    const auto unit = static_cast<AreaUnit>(view_->SelectedListData(kUnits).value_or(0));
    const auto edge = [&](int pixels) { return ShowInUnit(Fixed16::FromRealRounded(pixels / pages_->scale), unit); };
    view_->SetText(kLeft, edge(drawn->left));
    view_->SetText(kTop, edge(drawn->top));
    view_->SetText(kRight, edge(drawn->right));
    view_->SetText(kBottom, edge(drawn->bottom));
}

void TextAreaDialog::Changed(ControlId id) {
    if (!pages_) return;
    if (id == kPagePicture) TakeDrawnArea();
    if (id == kPageNumber) {
        const std::string typed = view_->Text(kPageNumber);
        const long page = typed.empty() ? 0 : std::strtol(typed.c_str(), nullptr, 10);
        if (page < 1 || page > document_->PageCount()) return;
        pages_->page = static_cast<int>(page);
    }
    ShowPage();
}

bool TextAreaDialog::Accept() {
    const std::optional<PageArea> typed = EdgesTyped();
    if (!typed) {
        view_->ShowMessageByKey("IDS_AREA_NUMBER_OUT_OF_RANGE");
        return false;
    }
    // Edges out of order are said, as every route says them, not swapped behind the user's back.
    const PageArea area = *typed;
    if (const std::optional<std::string> refusal = AreaRefusal(area)) {
        view_->ShowMessage(*refusal);
        return false;
    }
    const auto unit = static_cast<std::uint32_t>(view_->SelectedListData(kUnits).value_or(0));
    Host().registry->WriteSection(UnitsKey(), {{kUnitsValue, unit}});
    area_ = area;
    return true;
}

}  // namespace tessera
