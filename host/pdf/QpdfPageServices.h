#pragma once
// Acquired pages over qpdf: annotations, transition, transparency, rotation.
#include <map>

#include "host/PageServices.h"
#include "pdf/DocumentStore.h"

namespace tessera::pdf {

class QpdfPageServices : public host::PageServices {
public:
    explicit QpdfPageServices(DocumentStore& store) : store_(store) {}

    host::PageId AcquirePage(host::DocId doc, int page) override;
    void ReleasePage(host::PageId page) override;
    host::Rect CropBox(host::PageId page) override;
    int Rotation(host::PageId page) override;
    int AnnotationCount(host::PageId page) override;
    host::AnnotationInfo Annotation(host::PageId page, int index) override;
    bool HasTransition(host::PageId page) override;
    bool HasTransparency(host::PageId page, bool includeAnnotations) override;

    // The page object of an acquired page; HostError for an unknown id.
    QPDFObjectHandle PageObject(host::PageId page) const;
    std::size_t AcquiredCount() const { return pages_.size(); }

private:
    DocumentStore& store_;
    host::PageId next_ = 1;
    std::map<host::PageId, QPDFObjectHandle> pages_;
};

}  // namespace tessera::pdf
