#pragma once
// Acquired pages over qpdf: annotations, transition, transparency, rotation.
#include <map>

#include "host/PageServices.h"
#include "pdf/store/DocumentStore.h"

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
    // The page object with its insides whole (stand-ins copied in), for
    // reading or editing its content and resources.
    QPDFObjectHandle WholePage(host::PageId page);
    // The document an acquired page belongs to; HostError for an unknown id.
    host::DocId DocumentOf(host::PageId page) const;
    std::size_t AcquiredCount() const { return pages_.size(); }

private:
    DocumentStore& store_;
    host::PageId next_ = 1;
    struct Acquired {
        host::DocId doc;
        QPDFObjectHandle object;
    };
    const Acquired& Find(host::PageId page) const;
    std::map<host::PageId, Acquired> pages_;
};

}  // namespace tessera::pdf
