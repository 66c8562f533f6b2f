// The content-element walker on a page whose content stream is any bytes; the
// page's resources offer an image and a form that draws the same bytes.
#include <qpdf/QPDF.hh>

#include "FuzzTarget.h"
#include "host/HostError.h"
#include "pdf/content/ContentTree.h"

TESSERA_FUZZ_TARGET(content) {
    const std::string content(tessera::fuzz::Bytes(data, size));
    QPDF qpdf;
    qpdf.setSuppressWarnings(true);
    qpdf.emptyPDF();
    QPDFObjectHandle form = qpdf.makeIndirectObject(QPDFObjectHandle::newStream(&qpdf, content));
    form.getDict().replaceKey("/Subtype", QPDFObjectHandle::newName("/Form"));
    form.getDict().replaceKey("/BBox", QPDFObjectHandle::parse("[0 0 10 10]"));
    QPDFObjectHandle image = qpdf.makeIndirectObject(QPDFObjectHandle::newStream(&qpdf, std::string(4, '\0')));
    image.getDict().replaceKey("/Subtype", QPDFObjectHandle::newName("/Image"));
    for (const char* entry : {"/Width 2", "/Height 2", "/BitsPerComponent 8", "/ColorSpace /DeviceGray"}) {
        const std::string text(entry);
        const std::size_t blank = text.find(' ');
        image.getDict().replaceKey(text.substr(0, blank), QPDFObjectHandle::parse(text.substr(blank + 1)));
    }
    QPDFObjectHandle resources = QPDFObjectHandle::parse("<< /XObject << >> >>");
    resources.getKey("/XObject").replaceKey("/Fm1", form);
    resources.getKey("/XObject").replaceKey("/Im1", image);
    form.getDict().replaceKey("/Resources", resources);
    QPDFObjectHandle page = QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 612 792] >>");
    page.replaceKey("/Resources", resources);
    page.replaceKey("/Contents", QPDFObjectHandle::newStream(&qpdf, content));
    page = qpdf.makeIndirectObject(page);
    qpdf.addPage(page, false);
    try {
        tessera::pdf::ContentTree::OfPage(page);
    } catch (const tessera::host::HostError&) {
    }
    return 0;
}
