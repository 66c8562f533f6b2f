#include "access/DocumentHandle.h"

#include "access/Host.h"

namespace tessera {

DocumentHandle::DocumentHandle(host::DocId doc, Ownership ownership)
    : doc_(doc), owned_(ownership == Ownership::Owned ? doc : host::kNoDocument) {}

host::DocId DocumentHandle::ActiveDocument() { return Host().viewer->ActiveDocument(); }

int DocumentHandle::PageCount() const { return HasDocument() ? Host().documents->PageCount(doc_) : 0; }

std::uint32_t DocumentHandle::Flags() const { return HasDocument() ? Host().documents->Flags(doc_) : 0; }

std::optional<host::Permissions> DocumentHandle::SecurityPermissions() const {
    if (!HasDocument()) return std::nullopt;
    return Host().documents->SecurityPermissions(doc_);
}

std::string DocumentHandle::FilePath() const { return HasDocument() ? Host().documents->FilePath(doc_) : ""; }

host::ProgressMonitor& DocumentHandle::Monitor() const {
    return monitor_ ? *monitor_ : Host().viewer->DocumentProgressMonitor();
}

void DocumentHandle::Release() {
    doc_ = host::kNoDocument;
    owned_.Release();
}

}  // namespace tessera
