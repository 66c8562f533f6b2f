#pragma once
// Standard fonts, transparency settings and text elements over qpdf. Elements
// added to a content wait there until it is written back, which adds content
// streams of their own before and after the page's; the page's own streams
// are never rewritten.
#include <map>
#include <vector>

#include "host/PageEditServices.h"
#include "pdf/services/QpdfPageContentServices.h"
#include "pdf/store/DocumentStore.h"
#include "pdf/text/StandardFontMetrics.h"

namespace tessera::pdf {

class QpdfPageEditServices : public host::FontServices, public host::PageEditServices {
public:
    QpdfPageEditServices(DocumentStore& store, QpdfPageContentServices& contents)
        : store_(store), contents_(contents) {}

    host::FontId CreateStandardFont(host::DocId doc, const std::string& name, const std::string& fontType) override;
    void ReleaseFont(host::FontId font) override;

    host::ExtGStateId CreateExtGState(host::DocId doc, double fillOpacity, double strokeOpacity) override;
    void ReleaseExtGState(host::ExtGStateId state) override;

    host::TextElementId CreateText(const std::string& codes, host::FontId font, const host::TextGraphicState& state,
                                   const host::TextMatrix& matrix) override;
    void ReleaseText(host::TextElementId text) override;
    host::Rect TextBounds(host::TextElementId text) override;

    void AddElement(host::ContentId content, host::ElementPosition position, host::TextElementId text) override;
    void WriteBack(host::ContentId content) override;
    void AddInvisibleWords(host::DocId doc, int page, const std::vector<host::PageWord>& words) override;

    // Objects made and not yet released, for tests that check nothing is kept.
    std::size_t HeldCount() const { return fonts_.size() + states_.size() + texts_.size(); }

    struct Font {
        std::string name;
        QPDFObjectHandle dictionary;
    };
    struct Text {
        std::string codes;
        Font font;
        host::TextGraphicState state;
        QPDFObjectHandle extGState;  // null for none
        host::TextMatrix matrix;
    };

private:
    struct Added {
        std::vector<Text> first, last;
    };

    DocumentStore& store_;
    QpdfPageContentServices& contents_;
    StandardFontMetrics metrics_;
    std::uint32_t next_ = 1;  // one sequence for every kind of id, so a mix-up is caught
    std::map<host::FontId, Font> fonts_;
    std::map<host::ExtGStateId, QPDFObjectHandle> states_;
    // The font of invisible words of the document written now: outputs are
    // written one after the other, so only the last one's is kept.
    std::pair<host::DocId, QPDFObjectHandle> glyphless_{0, QPDFObjectHandle::newNull()};
    std::map<host::TextElementId, Text> texts_;
    std::map<host::ContentId, Added> added_;
};

}  // namespace tessera::pdf
