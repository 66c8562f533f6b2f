#pragma once
// The ids the host hands out and takes back by a matching call: a document
// the plug-in made, a page, a page's content, a word finder, a pixel reader. Each is held by
// one owner that gives it back when it goes, so no caller pairs the calls by hand.
#include <utility>

#include "access/Host.h"
#include "access/ReadOr.h"

namespace tessera {

// Owns one id that `(Host().*Service)->*GiveBack` takes back. An owner over
// `None` holds nothing. Moving hands the id on; copying would give it back twice.
template <class Id, auto Service, auto GiveBack, Id None = Id{}>
class OwnedId {
public:
    OwnedId() = default;
    explicit OwnedId(Id id) : id_(id) {}
    ~OwnedId() { ReleaseQuietly(); }
    OwnedId(OwnedId&& other) noexcept : id_(std::exchange(other.id_, None)) {}
    OwnedId& operator=(OwnedId&& other) noexcept {
        if (this != &other) {
            ReleaseQuietly();
            id_ = std::exchange(other.id_, None);
        }
        return *this;
    }

    Id Get() const { return id_; }
    explicit operator bool() const { return id_ != None; }

    // Gives the id back. The owner holds nothing afterwards, even when the
    // host fails to take it back; that HostError passes to the caller.
    void Release() {
        const Id id = std::exchange(id_, None);
        if (id != None) ((Host().*Service)->*GiveBack)(id);
    }

private:
    // Nothing is left to undo once the host fails to let go, and a destructor must not raise it.
    void ReleaseQuietly() noexcept {
        ReadOr(NothingLeft{}, "nothing is left to undo once the host fails to let go", [this] { Release(); });
    }

    Id id_ = None;
};

using OwnedDocument = OwnedId<host::DocId, &host::HostServices::documents, &host::DocumentServices::CloseDocument>;
using OwnedPage = OwnedId<host::PageId, &host::HostServices::pages, &host::PageServices::ReleasePage>;
using OwnedContent =
    OwnedId<host::ContentId, &host::HostServices::contents, &host::PageContentServices::ReleaseContent>;
using OwnedFont = OwnedId<host::FontId, &host::HostServices::fonts, &host::FontServices::ReleaseFont>;
using OwnedExtGState =
    OwnedId<host::ExtGStateId, &host::HostServices::edits, &host::PageEditServices::ReleaseExtGState>;
using OwnedTextElement = OwnedId<host::TextElementId, &host::HostServices::edits, &host::PageEditServices::ReleaseText>;
using OwnedWordFinder =
    OwnedId<host::WordFinderId, &host::HostServices::words, &host::WordFinderServices::DestroyWordFinder>;
using OwnedPixelReader =
    OwnedId<host::PixelReaderId, &host::HostServices::pixels, &host::PagePixelServices::DestroyPixelReader>;

}  // namespace tessera
