#include "support/PdfFixture.h"

#include <qpdf/Pl_Buffer.hh>
#include <qpdf/Pl_Flate.hh>
#include <qpdf/QPDFWriter.hh>

namespace tessera::test {

namespace {

// A PDF string literal of Latin-1 text (the font's WinAnsi encoding).
std::string Literal(const std::string& utf8) {
    std::string out = "(";
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size())
            c = static_cast<unsigned char>(((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
        if (c == '(' || c == ')' || c == '\\') out += '\\';
        out += static_cast<char>(c);
    }
    return out + ")";
}

}  // namespace

PdfFixture::PdfFixture(int pageCount) {
    qpdf_.emptyPDF();
    for (int i = 0; i < pageCount; ++i) AddPage("BT /F1 24 Tf 72 700 Td (Page " + std::to_string(i + 1) + ") Tj ET");
}

PdfFixture::PdfFixture(const std::vector<std::string>& pageTexts) {
    qpdf_.emptyPDF();
    for (const std::string& text : pageTexts) {
        std::string content = "BT /F1 12 Tf 14 TL 72 720 Td";
        std::size_t start = 0;
        for (std::size_t end; start <= text.size(); start = end + 1) {
            end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            content += " " + Literal(text.substr(start, end - start)) + " ' ";
        }
        AddPage(content + " ET");
    }
}

void PdfFixture::AddPage(const std::string& content) {
    if (!font_.isInitialized())
        font_ = qpdf_.makeIndirectObject(QPDFObjectHandle::parse(
            "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"));
    QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
    resources.replaceKey("/Font", QPDFObjectHandle::newDictionary({{"/F1", font_}}));
    AppendPage(resources, content);
}

QPDFObjectHandle PdfFixture::AppendPage(QPDFObjectHandle resources, const std::string& content) {
    QPDFObjectHandle page = QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 612 792] >>");
    if (!resources.isNull()) page.replaceKey("/Resources", resources);
    page.replaceKey("/Contents", QPDFObjectHandle::newStream(&qpdf_, content));
    page = qpdf_.makeIndirectObject(page);
    qpdf_.addPage(page, false);
    pages_.push_back(page);
    return page;
}

QPDFObjectHandle PdfFixture::AddContentPage(const std::string& content, QPDFObjectHandle resources) {
    return AppendPage(resources, content);
}

QPDFObjectHandle PdfFixture::GrayImage(int width, int height, const std::string& stored, const std::string& filter) {
    QPDFObjectHandle image = QPDFObjectHandle::newStream(&qpdf_, stored);
    QPDFObjectHandle dict = image.getDict();
    dict.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
    dict.replaceKey("/Subtype", QPDFObjectHandle::newName("/Image"));
    dict.replaceKey("/Width", QPDFObjectHandle::newInteger(width));
    dict.replaceKey("/Height", QPDFObjectHandle::newInteger(height));
    dict.replaceKey("/ColorSpace", QPDFObjectHandle::newName("/DeviceGray"));
    dict.replaceKey("/BitsPerComponent", QPDFObjectHandle::newInteger(8));
    if (!filter.empty()) dict.replaceKey("/Filter", QPDFObjectHandle::newName(filter));
    return image;
}

std::string PdfFixture::Deflated(const std::string& data) {
    Pl_Buffer buffer("deflated");
    Pl_Flate flate("deflate", &buffer, Pl_Flate::a_deflate);
    flate.write(reinterpret_cast<const unsigned char*>(data.data()), data.size());
    flate.finish();
    auto bytes = buffer.getBufferSharedPointer();
    return std::string(reinterpret_cast<const char*>(bytes->getBuffer()), bytes->getSize());
}

QPDFObjectHandle PdfFixture::AddAnnotation(int page, const std::string& subtype, const std::string& actionType) {
    QPDFObjectHandle annot = QPDFObjectHandle::parse("<< /Type /Annot /Rect [10 10 50 50] >>");
    annot.replaceKey("/Subtype", QPDFObjectHandle::newName("/" + subtype));
    if (!actionType.empty())
        annot.replaceKey("/A", QPDFObjectHandle::newDictionary({{"/S", QPDFObjectHandle::newName("/" + actionType)}}));
    annot = qpdf_.makeIndirectObject(annot);
    QPDFObjectHandle target = Page(page);
    if (!target.getKey("/Annots").isArray()) target.replaceKey("/Annots", QPDFObjectHandle::newArray());
    target.getKey("/Annots").appendItem(annot);
    return annot;
}

QPDFObjectHandle PdfFixture::Item(const std::string& title) {
    QPDFObjectHandle item = QPDFObjectHandle::newDictionary();
    item.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(title));
    return qpdf_.makeIndirectObject(item);
}

QPDFObjectHandle PdfFixture::ItemToPage(const std::string& title, int page) {
    QPDFObjectHandle item = Item(title);
    item.replaceKey("/Dest", QPDFObjectHandle::newArray({Page(page), QPDFObjectHandle::newName("/Fit")}));
    return item;
}

QPDFObjectHandle PdfFixture::OutlineRoot() {
    QPDFObjectHandle root = qpdf_.getRoot().getKey("/Outlines");
    if (!root.isDictionary()) {
        root = qpdf_.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /Outlines >>"));
        qpdf_.getRoot().replaceKey("/Outlines", root);
    }
    return root;
}

void PdfFixture::SetChildren(QPDFObjectHandle parent, const std::vector<QPDFObjectHandle>& children) {
    if (!parent.isInitialized() || parent.isNull()) parent = OutlineRoot();
    if (children.empty()) return;
    parent.replaceKey("/First", children.front());
    parent.replaceKey("/Last", children.back());
    parent.replaceKey("/Count", QPDFObjectHandle::newInteger(static_cast<long long>(children.size())));
    for (std::size_t i = 0; i < children.size(); ++i) {
        QPDFObjectHandle child = children[i];
        child.replaceKey("/Parent", parent);
        if (i > 0) child.replaceKey("/Prev", children[i - 1]);
        if (i + 1 < children.size()) child.replaceKey("/Next", children[i + 1]);
    }
}

void PdfFixture::Write(const std::string& path) {
    QPDFWriter writer(qpdf_, path.c_str());
    writer.setStaticID(true);
    // Streams are written as the test made them, so stored sizes are the test's.
    writer.setCompressStreams(false);
    writer.setDecodeLevel(qpdf_dl_none);
    writer.write();
}

}  // namespace tessera::test
