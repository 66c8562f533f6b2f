#pragma once
// Actions and /Filespec dictionaries built over qpdf.
#include "host/LinkServices.h"
#include "pdf/store/DocumentStore.h"

namespace tessera::pdf {

class QpdfActionBuilder : public host::ActionBuilderServices {
public:
    explicit QpdfActionBuilder(DocumentStore& store) : store_(store) {}

    host::ActionRef NewGoTo(host::DocId doc, int page, const host::Destination& view) override;
    host::ActionRef NewRemoteGoTo(host::DocId doc, host::FileSpecRef file, const host::Destination& dest) override;
    host::ActionRef NewRemoteNamedGoTo(host::DocId doc, host::FileSpecRef file, host::ActionRef goTo) override;
    host::FileSpecRef NewFileSpec(host::DocId doc, const std::string& path, const std::string& relativeTo) override;
    host::ActionRef CopyAction(host::DocId doc, host::ActionRef action) override;

private:
    host::ActionRef Make(host::DocId doc, const char* type, const char* fileKey, const QPDFObjectHandle& file,
                         const QPDFObjectHandle& dest);
    const std::string& SpecOf(const std::string& path, const std::string& relativeTo);

    DocumentStore& store_;
    std::map<std::pair<std::string, std::string>, std::string> specs_;
};

}  // namespace tessera::pdf
