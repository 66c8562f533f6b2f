#include "support/PdfFixture.h"

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
    for (int i = 0; i < pageCount; ++i)
        AddPage("BT /F1 24 Tf 72 700 Td (Page " + std::to_string(i + 1) + ") Tj ET");
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
    QPDFObjectHandle page = QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 612 792] >>");
    QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
    resources.replaceKey("/Font", QPDFObjectHandle::newDictionary({{"/F1", font_}}));
    page.replaceKey("/Resources", resources);
    page.replaceKey("/Contents", QPDFObjectHandle::newStream(&qpdf_, content));
    page = qpdf_.makeIndirectObject(page);
    qpdf_.addPage(page, false);
    pages_.push_back(page);
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
    writer.write();
}

}  // namespace tessera::test
