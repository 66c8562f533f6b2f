#include "analysis/PageContentHolder.h"

#include "access/Host.h"
#include "host/HostError.h"

namespace tessera {
namespace {

// Who holds a content, so the host can tell its clients apart.
constexpr std::uint32_t kTesseraClient = 0x54535241;  // "TSRA"

}  // namespace

PageContentHolder::~PageContentHolder() {
    try {
        ReleaseContent();
        if (HasPage()) Host().pages->ReleasePage(page_);
    } catch (const host::HostError&) {
        // Nothing is left to undo once the host fails to let go.
    }
}

bool PageContentHolder::Acquire(host::DocId doc, int index) {
    try {
        page_ = Host().pages->AcquirePage(doc, index);
        return true;
    } catch (const host::HostError& e) {
        failure_ = e.what();
        return false;
    }
}

host::ElementRef PageContentHolder::Content() {
    if (!content_) {
        try {
            content_ = Host().contents->AcquireContent(page_, kTesseraClient);
        } catch (const host::HostError& e) {
            failure_ = e.what();
            throw;
        }
    }
    return {content_, 0};
}

void PageContentHolder::ReleaseContent() {
    if (!content_) return;
    const host::ContentId content = content_;
    content_ = 0;
    Host().contents->ReleaseContent(content);
}

ContentUse::~ContentUse() {
    try {
        holder_.ReleaseContent();
    } catch (const host::HostError&) {
        // The holder has already let go; a destructor must not raise it.
    }
}

}  // namespace tessera
