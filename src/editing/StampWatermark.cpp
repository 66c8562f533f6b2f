#include "editing/StampWatermark.h"

#include <cmath>

#include "access/Guarded.h"
#include "access/Host.h"
#include "access/OwnedId.h"
#include "access/ReadOr.h"
#include "model/Fixed16.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"
#include "strings/WinAnsiText.h"

namespace tessera {
namespace {

constexpr double kRed = 0xE666 / 65536.0;

double ViaFixed(double value) { return Fixed16::FromRealAddingHalf(value).Real(); }

// Opacities below 0 are none; above 0.999, full.
float ClampedOpacity(float opacity) {
    if (opacity < 0) return 0;
    return opacity > 0.999f ? 1.0f : opacity;
}

// The centre of the page's crop box, halved in fixed point as the host's boxes are.
struct Centre {
    std::int32_t x = 0, y = 0;  // raw 16.16
};

Centre CropBoxCentre(host::DocId doc, int index) {
    const OwnedPage page(Host().pages->AcquirePage(doc, index));
    const host::Rect box = Host().pages->CropBox(page.Get());
    const auto raw = [](double v) { return Fixed16::FromRealAddingHalf(v).Raw(); };
    const std::int32_t left = raw(box.left), right = raw(box.right), top = raw(box.top), bottom = raw(box.bottom);
    return {left + (right - left) / 2, bottom + (top - bottom) / 2};
}

// A transparency setting for the opacity, or none when the host cannot make one:
// the watermark is then drawn opaque.
OwnedExtGState Transparency(host::DocId doc, float opacity) {
    OwnedExtGState state;
    Guarded([&] { state = OwnedExtGState(Host().edits->CreateExtGState(doc, ViaFixed(opacity), 1.0)); });
    return state;
}

host::TextGraphicState WatermarkState(host::ExtGStateId transparency) {
    host::TextGraphicState state;
    state.colorSpace = "DeviceRGB";
    state.fill = state.stroke = host::RgbColor{kRed, 0, 0};
    state.lineWidth = ViaFixed(1);
    state.miterLimit = ViaFixed(10);
    state.flatness = ViaFixed(1);
    state.extGState = transparency;
    return state;
}

// Scaled by the size, turned by theta about the origin, the origin then at the
// centre less the offset.
host::TextMatrix WatermarkMatrix(int fontSize, double theta, Centre centre, WatermarkOffset offset) {
    const double cosine = ViaFixed(std::cos(theta)), sine = ViaFixed(std::sin(theta)),
                 minusSine = ViaFixed(-std::sin(theta));
    host::TextMatrix m;
    m.a = fontSize * cosine;
    m.b = fontSize * sine;
    m.c = fontSize * minusSine;
    m.d = fontSize * cosine;
    m.h = (centre.x - std::int64_t{offset.x} * 65536) / 65536.0;
    m.v = (centre.y - std::int64_t{offset.y} * 65536) / 65536.0;
    return m;
}

void AddToPage(host::DocId doc, int index, host::TextElementId text, bool behindText) {
    const OwnedPage page(Host().pages->AcquirePage(doc, index));
    const OwnedContent content(Host().contents->AcquireContent(page.Get(), host::kEditingClient));
    Host().edits->AddElement(content.Get(),
                             behindText ? host::ElementPosition::BeforeFirst : host::ElementPosition::AfterLast, text);
    Host().edits->WriteBack(content.Get());
}

}  // namespace

WatermarkOffset MeasureWatermarkOffset(const std::string& codes, host::FontId font, const host::TextGraphicState& state,
                                       int fontSize, double angle) {
    host::TextMatrix scaled;
    scaled.a = scaled.d = fontSize;
    const OwnedTextElement run(Host().edits->CreateText(codes, font, state, scaled));
    const host::Rect box = Host().edits->TextBounds(run.Get());
    const double w = ViaFixed(box.right) - ViaFixed(box.left), h = ViaFixed(box.top) - ViaFixed(box.bottom);
    const double d = std::sqrt(w * w + h * h);
    const double phi = std::atan2(h, w) + angle;
    return {static_cast<int>(0.5 * d * std::cos(phi)), static_cast<int>(0.5 * d * std::sin(phi))};
}

// The stamp turns by this value of pi: the angle of watermarks written so far,
// which a stamp of the same settings must keep.
constexpr double kStampPi = 3.14;

bool StampWatermark(host::DocId doc, int index, const std::string& text, int fontSize, double angleDegrees,
                    float opacity, bool behindText, int shownNumber) {
    if (text.empty()) return true;
    opacity = ClampedOpacity(opacity);
    const Centre centre = CropBoxCentre(doc, index);
    OwnedFont font;
    if (!Guarded([&] { font = OwnedFont(Host().fonts->CreateStandardFont(doc, "Times-Roman", "Type1")); }))
        return false;
    const OwnedExtGState transparency = Transparency(doc, opacity);
    const host::TextGraphicState state = WatermarkState(transparency.Get());
    const double theta = angleDegrees * kStampPi / 180;
    const std::string codes = ToWinAnsi(text);
    const auto leftOut = [&](const host::HostError& error) {
        Host().viewer->AlertWarning(
            FormatText(LookupString("IDS_WATERMARK_LEFT_OUT"),
                       {std::int64_t{shownNumber > 0 ? shownNumber : index + 1}, error.what()}));
    };
    ReadOr(leftOut,
           "over a content that cannot be read in full, the saved states it leaves open are unknown: "
           "the page is kept as it is, and named",
           [&] {
               const WatermarkOffset offset = MeasureWatermarkOffset(codes, font.Get(), state, fontSize, theta);
               const OwnedTextElement element(Host().edits->CreateText(
                   codes, font.Get(), state, WatermarkMatrix(fontSize, theta, centre, offset)));
               AddToPage(doc, index, element.Get(), behindText);
           });
    return true;
}

void StampRangeWatermark(host::DocId doc, int first, int last, const PageRange& range, int shownFirst) {
    if (!range.Watermark) return;
    const WatermarkStyle& style = *range.Watermark;
    const float opacity = static_cast<float>(100 - style.TransparencyLevel) * 0.01f;
    for (int page = first; page <= last; ++page)
        StampWatermark(doc, page, style.Text, style.FontSize, 45, opacity, style.BehindText, shownFirst + page - first);
}

}  // namespace tessera
