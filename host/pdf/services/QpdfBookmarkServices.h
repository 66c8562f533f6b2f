#pragma once
// Bookmarks over qpdf, reading the outline objects directly so that malformed
// outlines (loops, great depth) are left to the caller's guarded walk.
#include "host/BookmarkServices.h"
#include "pdf/store/DocumentStore.h"

namespace tessera::pdf {

class QpdfBookmarkServices : public host::BookmarkServices {
public:
    explicit QpdfBookmarkServices(DocumentStore& store) : store_(store) {}

    host::BookmarkRef Root(host::DocId doc) override;
    bool IsValid(host::BookmarkRef bookmark) override;
    host::BookmarkRef FirstChild(host::BookmarkRef bookmark) override;
    host::BookmarkRef NextSibling(host::BookmarkRef bookmark) override;
    host::BookmarkRef Parent(host::BookmarkRef bookmark) override;
    std::string Title(host::BookmarkRef bookmark) override;
    bool IsOpen(host::BookmarkRef bookmark) override;
    int Style(host::BookmarkRef bookmark) override;
    std::optional<host::RgbColor> Color(host::BookmarkRef bookmark) override;
    host::ActionRef Action(host::BookmarkRef bookmark) override;

private:
    host::BookmarkRef Link(host::BookmarkRef from, const char* key);
    DocumentStore& store_;
};

}  // namespace tessera::pdf
