#pragma once
// Link annotations of acquired pages over qpdf.
#include "host/LinkServices.h"
#include "pdf/services/QpdfPageServices.h"
#include "pdf/store/DocumentStore.h"

namespace tessera::pdf {

class QpdfLinkServices : public host::LinkServices {
public:
    QpdfLinkServices(DocumentStore& store, const QpdfPageServices& pages) : store_(store), pages_(pages) {}

    host::ActionRef LinkAction(host::PageId page, int index) override;
    void SetLinkAction(host::PageId page, int index, host::ActionRef action) override;
    void TakeOverLinks(host::DocId doc) override;

private:
    QPDFObjectHandle Annotation(host::PageId page, int index) const;
    DocumentStore& store_;
    const QpdfPageServices& pages_;
};

}  // namespace tessera::pdf
