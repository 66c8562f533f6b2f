#pragma once
// Page contents over qpdf's content-stream parser, parsed once when acquired.
#include <map>
#include <utility>

#include "host/HostError.h"
#include "pdf/content/ContentTree.h"
#include "pdf/services/QpdfPageServices.h"

namespace tessera::pdf {

class QpdfPageContentServices : public host::PageContentServices, public host::PageElementServices {
public:
    explicit QpdfPageContentServices(QpdfPageServices& pages) : pages_(pages) {}

    host::ContentId AcquireContent(host::PageId page, std::uint32_t client) override;
    void ReleaseContent(host::ContentId content) override;

    int ElementCount(host::ElementRef list) override;
    host::ElementRef Element(host::ElementRef list, int index) override;
    host::PageElementKind Type(host::ElementRef element) override;
    host::ImageStorage Image(host::ElementRef element) override;

    // The page object an acquired content was read from; HostError for an unknown id.
    QPDFObjectHandle PageOf(host::ContentId content) const;

private:
    const ContentNode& Node(host::ElementRef ref) const;
    ContentTree Read(host::PageId page, const QPDFObjectHandle& object, bool firstMarkOnly);

    QpdfPageServices& pages_;
    host::ContentId next_ = 1;
    std::map<host::ContentId, ContentTree> contents_;
    std::map<host::ContentId, QPDFObjectHandle> pagesOf_;
    std::map<std::pair<host::DocId, QPDFObjGen>, host::HostError> unreadable_;  // pages found damaged
};

}  // namespace tessera::pdf
