// Named destinations are read through a qpdf object of their own and handed
// out as objects of the document's: the page a name leads to must be the
// document's page, whatever the file holds by the time the table is read.
#include <qpdf/QPDFWriter.hh>

#include <filesystem>
#include <map>
#include <vector>

#include "pdf/file/NamedDestinationTable.h"
#include "support/PdfFixture.h"
#include "support/TempFolder.h"

namespace tessera {
namespace {

// A two-leaf tree with /Limits: an array in place, one behind a reference, a
// /D dictionary and a UTF-16 name, each leading to another page (moved on by
// `shift`).
void WriteNamedFile(const std::string& path, const std::string& password, int pages = 4, int shift = 0) {
    test::PdfFixture f(pages);
    QPDF& q = f.Qpdf();
    const auto fit = [&](int page) { return "[" + f.Page(page + shift).unparse() + " /Fit]"; };
    QPDFObjectHandle behind = q.makeIndirectObject(QPDFObjectHandle::parse(&q, fit(2)));
    QPDFObjectHandle left = q.makeIndirectObject(QPDFObjectHandle::parse(
        &q, "<< /Limits [(a) (b)] /Names [(a) " + fit(1) + " (b) " + behind.unparse() + "] >>"));
    QPDFObjectHandle right = q.makeIndirectObject(QPDFObjectHandle::parse(
        &q, "<< /Limits [(c) <FEFF00E9>] /Names [(c) << /D " + fit(3) + " >> <FEFF00E9> " + fit(0) + "] >>"));
    q.getRoot().replaceKey("/Names", QPDFObjectHandle::parse(&q, "<< /Dests << /Kids [" + left.unparse() + " " +
                                                                     right.unparse() + "] >> >>"));
    // qpdf numbers objects in the order it meets them, names before pages:
    // objects met first move every number on.
    std::vector<QPDFObjectHandle> filler;
    for (int i = 0; i < shift; ++i) filler.push_back(q.makeIndirectObject(QPDFObjectHandle::newInteger(i)));
    q.getRoot().replaceKey("/Filler", QPDFObjectHandle::newArray(filler));
    QPDFWriter w(q, path.c_str());
    if (!password.empty())
        w.setR6EncryptionParameters(password.c_str(), "owner", true, true, true, true, true, true, qpdf_r3p_full, true);
    w.write();
}

// name: the page index it leads to in `q`, read off the value the table gives.
std::map<std::string, int> PagesOfNames(QPDF& q, const pdf::NamedDestinationTable& table) {
    std::map<std::string, int> found;
    const auto& pages = q.getAllPages();
    for (const std::string name : {"a", "b", "c", "\xC3\xA9", "missing"}) {
        QPDFObjectHandle value = table.Find(q, name);
        if (value.isDictionary()) value = value.getKey("/D");
        if (!value.isArray()) continue;
        for (std::size_t i = 0; i < pages.size(); ++i)
            if (pages[i].getObjGen() == value.getArrayItem(0).getObjGen()) found[name] = static_cast<int>(i);
    }
    return found;
}

TEST(NamedDestinationTableTest, NamesLeadToTheDocumentsOwnPagesEvenWhenTheFileWasReplaced) {
    const std::map<std::string, int> expected{{"a", 1}, {"b", 2}, {"c", 3}, {"\xC3\xA9", 0}};
    for (const std::string password : {"", "secret"}) {
        SCOPED_TRACE(password.empty() ? "plain" : "encrypted");
        test::TempFolder folder;
        const std::string path = folder / "named.pdf";
        WriteNamedFile(path, password);
        QPDF q;
        q.processFile(path.c_str(), password.empty() ? nullptr : password.c_str());
        EXPECT_EQ(PagesOfNames(q, pdf::NamedDestinationTable::Read(q, path, password)), expected);
        // Another file put in its place, its pages and names elsewhere: the
        // table is read from the document as it was opened.
        WriteNamedFile(folder / "new.pdf", password, 9, 4);
        std::filesystem::rename(folder / "new.pdf", path);
        EXPECT_EQ(PagesOfNames(q, pdf::NamedDestinationTable::Read(q, path, password)), expected);
        // A document with no file behind it.
        EXPECT_EQ(PagesOfNames(q, pdf::NamedDestinationTable::Read(q, "", password)), expected);
    }
}

}  // namespace
}  // namespace tessera
