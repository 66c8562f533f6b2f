#include "pdf/writing/CarriedParts.h"

#include "pdf/writing/OptionalContentCarrier.h"
#include "pdf/writing/PageStubs.h"
#include "pdf/writing/StructureCarrier.h"

namespace tessera::pdf {
namespace {

QPDFObjectHandle Attachments(PdfDocument& doc) {
    return doc.Qpdf().getRoot().getKey("/Names").getKeyIfDict("/EmbeddedFiles");
}

void CarryAttachments(PdfDocument& out, PdfDocument& source) {
    QPDFObjectHandle tree = Attachments(source);
    if (!tree.isDictionary()) return;
    QPDF& q = out.Qpdf();
    QPDFObjectHandle names = q.getRoot().getKey("/Names");
    if (!names.isDictionary()) {
        names = q.makeIndirectObject(QPDFObjectHandle::newDictionary());
        q.getRoot().replaceKey("/Names", names);
    }
    // qpdf copies only indirect objects across documents.
    QPDFObjectHandle indirect = tree.isIndirect() ? tree : source.Qpdf().makeIndirectObject(tree.shallowCopy());
    names.replaceKey("/EmbeddedFiles", q.copyForeignObject(indirect));
}

}  // namespace

std::optional<bool> HasCarriedPart(PdfDocument& doc, const std::string& key) {
    if (key == "EmbeddedFiles") return Attachments(doc).isDictionary();
    if (key == "StructTreeRoot" || key == "OCProperties") return doc.Qpdf().getRoot().getKey("/" + key).isDictionary();
    return std::nullopt;
}

bool CarryPart(PdfDocument& out, PdfDocument& source, const std::string& key) {
    // The structure tree and layers are cut to what the pages' content uses.
    if (key == "StructTreeRoot" || key == "OCProperties") CopyStandIns(out);
    if (key == "StructTreeRoot")
        CarryStructure(out, source);
    else if (key == "OCProperties")
        CarryOptionalContent(out, source);
    else if (key == "EmbeddedFiles")
        CarryAttachments(out, source);
    else
        return false;
    return true;
}

}  // namespace tessera::pdf
