#include "support/PdfFixture.h"

#include <qpdf/QPDFWriter.hh>

namespace tessera::test {

PdfFixture::PdfFixture(int pageCount) {
    qpdf_.emptyPDF();
    QPDFObjectHandle font = qpdf_.makeIndirectObject(QPDFObjectHandle::parse(
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"));
    for (int i = 0; i < pageCount; ++i) {
        QPDFObjectHandle page = QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 612 792] >>");
        QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
        resources.replaceKey("/Font", QPDFObjectHandle::newDictionary({{"/F1", font}}));
        page.replaceKey("/Resources", resources);
        page.replaceKey("/Contents", QPDFObjectHandle::newStream(
                                         &qpdf_, "BT /F1 24 Tf 72 700 Td (Page " + std::to_string(i + 1) + ") Tj ET"));
        page = qpdf_.makeIndirectObject(page);
        qpdf_.addPage(page, false);
        pages_.push_back(page);
    }
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
