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

    // A page drawing content with resources (null: none), after the others.
    QPDFObjectHandle AddContentPage(const std::string& content,
                                    QPDFObjectHandle resources = QPDFObjectHandle::newNull());
    // An 8-bit gray image XObject whose stream stores `stored` as it is,
    // unfiltered unless filter is given: the size on file is what a test sets.
    QPDFObjectHandle GrayImage(int width, int height, const std::string& stored, const std::string& filter = "");
    static std::string Deflated(const std::string& data);
    // An annotation dictionary of the subtype, with an action of actionType when given, added to the page.
    QPDFObjectHandle AddAnnotation(int page, const std::string& subtype, const std::string& actionType = "");

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
    QPDFObjectHandle AppendPage(QPDFObjectHandle resources, const std::string& content);

    QPDF qpdf_;
    QPDFObjectHandle font_;
    std::vector<QPDFObjectHandle> pages_;
};

}  // namespace tessera::test
