#pragma once
// The /Names /Dests tree of a document read from a file, kept as text. Link
// mending looks up thousands of names in big documents, so the tree is read
// once; read into the document's own qpdf object, its nodes would stay there
// for the whole run, in every worker: 12 MB on a 2,857-page manual whose
// table takes 3 MB as text.
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <string>
#include <unordered_map>

namespace tessera::pdf {

class NamedDestinationTable {
public:
    // Reads the tree through a qpdf object of its own on the same file, let go
    // before this returns. Where that cannot be trusted to see what `qpdf`
    // sees (a document made in memory, a file qpdf had to repair, or one whose
    // trailer now differs), `qpdf` reads it itself.
    static NamedDestinationTable Read(QPDF& qpdf, const std::string& path, const std::string& password);

    // The value the tree gives `utf8Name`, as an object of `qpdf`; null when
    // it gives none.
    QPDFObjectHandle Find(QPDF& qpdf, const std::string& utf8Name) const;

private:
    void ReadFrom(QPDF& qpdf);

    // Each value inside a one-item array: qpdf parses a reference only
    // inside something.
    std::unordered_map<std::string, std::string> values_;
};

}  // namespace tessera::pdf
