#include "pdf/services/QpdfPageEditServices.h"

#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QUtil.hh>

#include <algorithm>
#include <array>

#include "pdf/content/SaveDepth.h"
#include "pdf/file/QpdfGuard.h"
#include "pdf/writing/InvisibleText.h"
#include "pdf/writing/PageStubs.h"

namespace tessera::pdf {
namespace {

template <class Map>
auto& Find(Map& map, std::uint32_t id, const char* what) {
    const auto it = map.find(id);
    if (it == map.end()) throw host::HostError(host::kErrorGeneral, std::string("unknown ") + what);
    return it->second;
}

std::string Number(double value) { return QUtil::double_to_string(value, 6); }

std::string Repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

std::string HexString(const std::string& bytes) { return "<" + QUtil::hex_encode(bytes) + ">"; }

// The page's resources as a dictionary of its own, and each category in it
// that gets a new entry: resources may be shared by pages, or inherited.
class PageResources {
public:
    explicit PageResources(QPDFObjectHandle page) {
        QPDFObjectHandle inherited = QPDFPageObjectHelper(page).getAttribute("/Resources", false);
        resources_ = inherited.isDictionary() ? inherited.shallowCopy() : QPDFObjectHandle::newDictionary();
        page.replaceKey("/Resources", resources_);
    }

    // A new name for object in the category ("/Font", "/ExtGState").
    std::string Add(const std::string& category, const QPDFObjectHandle& object) {
        QPDFObjectHandle entries = resources_.getKey(category);
        entries = entries.isDictionary() ? entries.shallowCopy() : QPDFObjectHandle::newDictionary();
        resources_.replaceKey(category, entries);
        std::string name = resources_.getUniqueResourceName("/Ts", suffix_);
        entries.replaceKey(name, object);
        return name;
    }

private:
    QPDFObjectHandle resources_;
    int suffix_ = 0;
};

std::string Color(const host::RgbColor& c, const char* op) {
    return Number(c.red) + " " + Number(c.green) + " " + Number(c.blue) + " " + op + "\n";
}

// One text element in a state saved and restored around it.
std::string Operators(const QpdfPageEditServices::Text& text, PageResources& resources) {
    const host::TextGraphicState& s = text.state;
    const host::TextMatrix& m = text.matrix;
    std::string ops = "q\n";
    if (QPDFObjectHandle state = text.extGState; !state.isNull()) ops += resources.Add("/ExtGState", state) + " gs\n";
    ops += "/" + s.colorSpace + " cs /" + s.colorSpace + " CS\n";
    ops += Color(s.fill, "sc") + Color(s.stroke, "SC");
    ops += Number(s.lineWidth) + " w " + Number(s.miterLimit) + " M " + Number(s.flatness) + " i\n";
    ops += "BT\n" + resources.Add("/Font", text.font.dictionary) + " 1 Tf\n";
    for (double v : {m.a, m.b, m.c, m.d, m.h, m.v}) ops += Number(v) + " ";
    ops += "Tm\n" + HexString(text.codes) + " Tj\nET\nQ\n";
    return ops;
}

std::string Operators(const std::vector<QpdfPageEditServices::Text>& texts, PageResources& resources) {
    std::string ops;
    for (const QpdfPageEditServices::Text& text : texts) ops += Operators(text, resources);
    return ops;
}

// Drawing after the page's content must start from the page's initial state,
// whatever the content left open: it is saved below the lowest depth the
// content reaches and restored after it.
void WrapAround(const QPDFObjectHandle& page, const std::string& before, const std::string& after) {
    QPDF& q = *page.getOwningQPDF();
    QPDFPageObjectHelper helper(page);
    std::string first = before;
    if (!after.empty()) {
        const SaveDepth depth = MeasureSaveDepth(page);
        const int saves = 1 - depth.lowest;
        first += Repeated("q\n", saves);
        const std::string close =
            "\n" + std::string(depth.endsInText ? "ET\n" : "") + Repeated("Q\n", saves + depth.end);
        helper.addPageContents(QPDFObjectHandle::newStream(&q, close + after), false);
    }
    if (!first.empty()) helper.addPageContents(QPDFObjectHandle::newStream(&q, first), true);
}

}  // namespace

host::FontId QpdfPageEditServices::CreateStandardFont(host::DocId doc, const std::string& name,
                                                      const std::string& fontType) {
    return QpdfGuard([&] {
        if (fontType != "Type1") throw host::HostError(host::kErrorGeneral, "not a standard font type: " + fontType);
        metrics_.Measure(name, "");  // raises the error of a font that is not one of the 14
        QPDF& q = store_.Get(doc).Qpdf();
        QPDFObjectHandle font = q.makeIndirectObject(
            QPDFObjectHandle::newDictionary({{"/Type", QPDFObjectHandle::newName("/Font")},
                                             {"/Subtype", QPDFObjectHandle::newName("/Type1")},
                                             {"/BaseFont", QPDFObjectHandle::newName("/" + name)},
                                             {"/Encoding", QPDFObjectHandle::newName("/WinAnsiEncoding")}}));
        const host::FontId id = next_++;
        fonts_[id] = {name, font};
        return id;
    });
}

void QpdfPageEditServices::ReleaseFont(host::FontId font) { fonts_.erase(font); }

host::ExtGStateId QpdfPageEditServices::CreateExtGState(host::DocId doc, double fillOpacity, double strokeOpacity) {
    return QpdfGuard([&] {
        PdfDocument& d = store_.Get(doc);
        QPDF& q = d.Qpdf();
        // PDF/A-1 allows no transparency: the file's claim goes when it is saved.
        d.transparencyAdded = d.transparencyAdded || fillOpacity < 1 || strokeOpacity < 1;
        QPDFObjectHandle state = q.makeIndirectObject(QPDFObjectHandle::newDictionary(
            {{"/Type", QPDFObjectHandle::newName("/ExtGState")},
             {"/ca", QPDFObjectHandle::newReal(std::clamp(fillOpacity, 0.0, 1.0), 6)},
             {"/CA", QPDFObjectHandle::newReal(std::clamp(strokeOpacity, 0.0, 1.0), 6)}}));
        const host::ExtGStateId id = next_++;
        states_[id] = state;
        return id;
    });
}

void QpdfPageEditServices::ReleaseExtGState(host::ExtGStateId state) { states_.erase(state); }

host::TextElementId QpdfPageEditServices::CreateText(const std::string& codes, host::FontId font,
                                                     const host::TextGraphicState& state,
                                                     const host::TextMatrix& matrix) {
    Text text{codes, Find(fonts_, font, "font"), state, QPDFObjectHandle::newNull(), matrix};
    if (state.extGState != 0) text.extGState = Find(states_, state.extGState, "transparency setting");
    const host::TextElementId id = next_++;
    texts_.emplace(id, std::move(text));
    return id;
}

void QpdfPageEditServices::ReleaseText(host::TextElementId text) { texts_.erase(text); }

host::Rect QpdfPageEditServices::TextBounds(host::TextElementId id) {
    const Text& text = Find(texts_, id, "text element");
    const RunExtent run = metrics_.Measure(text.font.name, text.codes);
    const host::TextMatrix& m = text.matrix;
    const std::array<std::pair<double, double>, 4> corners = {
        {{0, run.bottom}, {run.advance, run.bottom}, {0, run.top}, {run.advance, run.top}}};
    host::Rect box{1e300, 1e300, -1e300, -1e300};
    for (const auto& [x, y] : corners) {
        const double px = m.a * x + m.c * y + m.h, py = m.b * x + m.d * y + m.v;
        box = {std::min(box.left, px), std::min(box.bottom, py), std::max(box.right, px), std::max(box.top, py)};
    }
    return box;
}

void QpdfPageEditServices::AddElement(host::ContentId content, host::ElementPosition position,
                                      host::TextElementId text) {
    contents_.PageOf(content);  // raises the error of a content that is not acquired
    Added& added = added_[content];
    const Text& copy = Find(texts_, text, "text element");
    if (position == host::ElementPosition::BeforeFirst)
        added.first.insert(added.first.begin(), copy);
    else
        added.last.push_back(copy);
}

void QpdfPageEditServices::WriteBack(host::ContentId content) {
    QPDFObjectHandle page = contents_.PageOf(content);
    const auto it = added_.find(content);
    if (it == added_.end()) return;
    const Added added = std::move(it->second);
    added_.erase(it);
    QpdfGuard([&] {
        PageResources resources(page);
        // Drawn first, the elements before the page's content come first in the stream that opens it.
        WrapAround(page, Operators(added.first, resources), Operators(added.last, resources));
    });
}

void QpdfPageEditServices::AddInvisibleWords(host::DocId doc, int index, const std::vector<host::PageWord>& words) {
    if (words.empty()) return;
    QpdfGuard([&] {
        PdfDocument& document = store_.Get(doc);
        CopyStandIns(document);
        QPDFObjectHandle page = document.Page(index);
        if (glyphless_.first != doc) glyphless_ = {doc, MakeGlyphlessFont(document.Qpdf())};
        PageResources resources(page);
        WrapAround(page, "", InvisibleWordOperators(page, words, resources.Add("/Font", glyphless_.second)));
    });
}

}  // namespace tessera::pdf
