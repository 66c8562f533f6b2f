#pragma once
// Actions over qpdf.
#include "host/BookmarkServices.h"
#include "pdf/store/DocumentStore.h"

namespace tessera::pdf {

class QpdfActionServices : public host::ActionServices {
public:
    explicit QpdfActionServices(DocumentStore& store) : store_(store) {}

    bool IsValid(host::ActionRef action) override;
    std::string Subtype(host::ActionRef action) override;
    std::optional<int> DestinationPage(host::ActionRef action) override;
    std::optional<host::Destination> ResolvedDestination(host::ActionRef action) override;
    std::optional<std::string> DestinationName(host::ActionRef action) override;
    std::optional<std::string> ScriptText(host::ActionRef action) override;

private:
    DocumentStore& store_;
};

}  // namespace tessera::pdf
