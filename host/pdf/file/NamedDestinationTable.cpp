#include "pdf/file/NamedDestinationTable.h"

#include <qpdf/QPDFNameTreeObjectHelper.hh>

#include <memory>

#include "pdf/file/QpdfFile.h"

namespace tessera::pdf {
namespace {

// Whether two trailers name the same objects. Read key by key: qpdf's whole
// dictionary text resolves each value (to leave nulls out), and reading the
// document information would count its faults as repairs of the input.
bool SameTrailer(QPDF& one, QPDF& other) {
    const auto text = [](QPDFObjectHandle value) {
        return value.isIndirect() ? value.getObjGen().unparse(' ') + " R" : value.unparse();
    };
    for (const char* key : {"/Size", "/Prev", "/ID", "/Root", "/Info", "/Encrypt"})
        if (text(one.getTrailer().getKey(key)) != text(other.getTrailer().getKey(key))) return false;
    return true;
}

// The same file as `qpdf` read, opened again; none when it cannot be opened
// or reads otherwise.
std::unique_ptr<QPDF> OpenAgain(QPDF& qpdf, const std::string& path, const std::string& password) {
    if (path.empty() || qpdf.numWarnings() > 0) return nullptr;
    try {
        std::unique_ptr<QPDF> again = OpenQpdfFile(path, password);
        if (again->numWarnings() > 0 || !SameTrailer(*again, qpdf)) return nullptr;
        return again;
    } catch (const std::exception&) {
        return nullptr;
    }
}

}  // namespace

NamedDestinationTable NamedDestinationTable::Read(QPDF& qpdf, const std::string& path, const std::string& password) {
    NamedDestinationTable table;
    if (const std::unique_ptr<QPDF> again = OpenAgain(qpdf, path, password)) {
        try {
            table.ReadFrom(*again);
            return table;
        } catch (const std::exception&) {
            table.values_.clear();  // a damaged tree: read as the document reads it, failures and all
        }
    }
    table.ReadFrom(qpdf);
    return table;
}

void NamedDestinationTable::ReadFrom(QPDF& qpdf) {
    QPDFObjectHandle tree = qpdf.getRoot().getKey("/Names").getKeyIfDict("/Dests");
    if (!tree.isDictionary()) return;
    for (auto& [name, value] : QPDFNameTreeObjectHelper(tree, qpdf))
        values_.emplace(name, QPDFObjectHandle::newArray({value}).unparse());
}

QPDFObjectHandle NamedDestinationTable::Find(QPDF& qpdf, const std::string& utf8Name) const {
    const auto it = values_.find(utf8Name);
    if (it == values_.end()) return QPDFObjectHandle::newNull();
    return QPDFObjectHandle::parse(&qpdf, it->second).getArrayItem(0);
}

}  // namespace tessera::pdf
