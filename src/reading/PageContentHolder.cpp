#include "reading/PageContentHolder.h"

#include "access/Host.h"
#include "host/HostError.h"

namespace tessera {
namespace {

// Who holds a content, so the host can tell its clients apart.
constexpr std::uint32_t kTesseraClient = 0x54535241;  // "TSRA"

}  // namespace

bool PageContentHolder::Acquire(host::DocId doc, int index) {
    try {
        page_ = OwnedPage(Host().pages->AcquirePage(doc, index));
        return true;
    } catch (const host::HostError& e) {
        failure_ = e.what();
        return false;
    }
}

host::ElementRef PageContentHolder::Content() {
    if (!content_) {
        try {
            content_ = OwnedContent(Host().contents->AcquireContent(page_.Get(), kTesseraClient));
        } catch (const host::HostError& e) {
            failure_ = e.what();
            throw;
        }
    }
    return {content_.Get(), 0};
}

void PageContentHolder::ReleaseContent() { content_.Release(); }

ContentUse::~ContentUse() {
    try {
        holder_.ReleaseContent();
    } catch (const host::HostError&) {
        // The holder has already let go; a destructor must not raise it.
    }
}

}  // namespace tessera
