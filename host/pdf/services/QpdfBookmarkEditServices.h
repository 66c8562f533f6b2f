#pragma once
// Building an outline over qpdf.
#include "host/BookmarkServices.h"
#include "pdf/store/DocumentStore.h"

namespace tessera::pdf {

class QpdfBookmarkEditServices : public host::BookmarkEditServices {
public:
    explicit QpdfBookmarkEditServices(DocumentStore& store) : store_(store) {}

    host::BookmarkRef AddChild(host::BookmarkRef parent, const std::string& title) override;
    void SetOpen(host::BookmarkRef bookmark, bool open) override;
    void SetStyle(host::BookmarkRef bookmark, int style) override;
    void SetColor(host::BookmarkRef bookmark, const host::RgbColor& color) override;
    void SetAction(host::BookmarkRef bookmark, host::ActionRef action) override;
    bool ShareOutline(host::DocId doc, host::DocId from) override;
    void ReplaceSharedAction(host::DocId doc, host::BookmarkRef item, host::ActionRef action) override;

private:
    DocumentStore& store_;
};

}  // namespace tessera::pdf
