#include "reading/PageContentHolder.h"

#include "access/Host.h"
#include "access/ReadOr.h"

namespace tessera {
namespace {

// Who holds a content, so the host can tell its clients apart.
constexpr std::uint32_t kTesseraClient = 0x54535241;  // "TSRA"

}  // namespace

bool PageContentHolder::Acquire(host::DocId doc, int index) {
    return ReadOr(
        [this](const host::HostError& e) {
            failure_ = e.what();
            return false;
        },
        "a page the host cannot hand out is noted as unreadable",
        [&] {
            page_ = OwnedPage(Host().pages->AcquirePage(doc, index));
            return true;
        });
}

host::ElementRef PageContentHolder::Content(Reach reach) {
    if (content_ && reach_ == Reach::FirstMark && reach == Reach::Whole) content_.Release();
    if (!content_) {
        ReadOr(
            [this](const host::HostError& e) {
                failure_ = e.what();
                throw;
            },
            "the host's text is kept for the page's note, and the error goes on to the caller",
            [this, reach] {
                const std::uint32_t client = reach == Reach::FirstMark ? host::kFirstMarkClient : kTesseraClient;
                content_ = OwnedContent(Host().contents->AcquireContent(page_.Get(), client));
                reach_ = reach;
            });
    }
    return {content_.Get(), 0};
}

void PageContentHolder::ReleaseContent() { content_.Release(); }

ContentUse::~ContentUse() {
    ReadOr(NothingLeft{}, "the holder has already let go; a destructor must not raise it",
           [this] { holder_.ReleaseContent(); });
}

}  // namespace tessera
