#pragma once
// Small PDFs made for a test with qpdf: every page shows "Page N", so a test
// can read back which source page reached which output.
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <string>
#include <vector>

namespace tessera::test {

class PdfFixture {
public:
    explicit PdfFixture(int pageCount);
    // Pages showing the given lines of text (lines separated by "\n"), from the top.
    explicit PdfFixture(const std::vector<std::string>& pageTexts);

    QPDF& Qpdf() { return qpdf_; }
    QPDFObjectHandle Page(int index) { return pages_.at(static_cast<std::size_t>(index)); }

    // A new outline item, not yet linked.
    QPDFObjectHandle Item(const std::string& title);
    // An item leading to a page (explicit /Dest [page /Fit]).
    QPDFObjectHandle ItemToPage(const std::string& title, int page);
    // Links items as the children of parent (null handle: the outline root).
    void SetChildren(QPDFObjectHandle parent, const std::vector<QPDFObjectHandle>& children);
    QPDFObjectHandle OutlineRoot();

    void Write(const std::string& path);

private:
    void AddPage(const std::string& content);

    QPDF qpdf_;
    QPDFObjectHandle font_;
    std::vector<QPDFObjectHandle> pages_;
};

}  // namespace tessera::test
