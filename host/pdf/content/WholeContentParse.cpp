#include "pdf/content/WholeContentParse.h"

#include <qpdf/QPDF.hh>

#include "pdf/file/QpdfGuard.h"

namespace tessera::pdf {

void ParseWholly(QPDFObjectHandle owner, const std::function<void()>& parse) {
    QpdfGuard([&] {
        QPDF* qpdf = owner.getOwningQPDF();
        const std::size_t warningsBefore = qpdf ? qpdf->numWarnings() : 0;
        parse();
        if (qpdf && qpdf->numWarnings() != warningsBefore)
            throw host::HostError(host::kErrorDamaged, "the page's content is damaged and could not be read in full");
    });
}

}  // namespace tessera::pdf
