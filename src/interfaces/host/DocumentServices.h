#pragma once
// Documents and their pages ("PDModel"). Every operation raises HostError on failure.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/HostTypes.h"
#include "host/ProgressMonitor.h"

namespace tessera::host {

// Where new pages go, by the integers of the viewer's page calls.
enum class PagePosition : int { BeforeFirst = -1, AfterLast = -2 };

struct ObjectBytes {
    std::uint32_t object = 0;  // its number in the document
    std::uint32_t bytes = 0;   // written out: a dictionary, an array...
    std::uint32_t data = 0;    // a stream's data, kept as stored
};

class DocumentServices {
public:
    virtual ~DocumentServices() = default;

    // A new, empty document owned by the caller until CloseDocument.
    virtual DocId NewDocument() = 0;
    virtual void CloseDocument(DocId doc) = 0;

    virtual int PageCount(DocId doc) = 0;
    virtual std::uint32_t Flags(DocId doc) = 0;
    virtual void SetFlags(DocId doc, std::uint32_t flags) = 0;
    // The absolute path of the file the document was opened from, as shown to
    // the user; empty for a new document.
    virtual std::string FilePath(DocId doc) = 0;
    // What an encrypted document allows; none when it has no security.
    virtual std::optional<Permissions> SecurityPermissions(DocId doc) = 0;

    // Document information, texts in UTF-8; empty when absent.
    virtual std::string InfoValue(DocId doc, const std::string& key) = 0;
    virtual void SetInfoValue(DocId doc, const std::string& key, const std::string& value) = 0;

    // Catalog entries, by key without the leading slash.
    virtual bool HasCatalogEntry(DocId doc, const std::string& key) = 0;
    // Deep-copies the source's entry into the target's file and catalog.
    // Three are cut to the target instead: "StructTreeRoot" to the elements
    // on its pages (and "MarkInfo" is copied only after it), "OCProperties"
    // to the layers its pages use; "EmbeddedFiles", the attached files, live
    // under /Names. "Metadata" is brought up to date when the target is saved.
    virtual void CopyCatalogEntry(DocId to, DocId from, const std::string& key) = 0;
    // What the last save of doc took out of the metadata it carried because
    // the file no longer honours it, and why ("PDF/A-2b: encrypted"); empty
    // when nothing.
    virtual std::string DroppedClaims(DocId /*doc*/) { return {}; }

    // The label text of a page (prefix and number, formatted); empty without one.
    virtual std::string PageLabel(DocId doc, int page) = 0;
    virtual void RemovePageLabels(DocId doc) = 0;

    virtual Rect MediaBox(DocId doc, int page) = 0;
    virtual void CreatePage(DocId doc, PagePosition position, const Rect& mediaBox) = 0;
    virtual void DeletePage(DocId doc, int page) = 0;
    virtual void InsertPages(DocId to, PagePosition position, DocId from, int firstPage, int count) = 0;

    virtual void SetSecurity(DocId doc, const SecurityRecord& security) = 0;
    // Writes the whole document to path; never the file the document came
    // from. With maxBytes (0: any size), a file that would be larger is not
    // written: HostError saying its size.
    virtual void Save(DocId doc, const std::string& path, std::uint16_t saveFlags, ProgressMonitor* monitor,
                      std::uint64_t maxBytes) = 0;
    // The bytes Save would write, counted without a file, and kept in
    // `file` when it is given; the document is then finished, not to be
    // saved again.
    virtual std::uint64_t SavedSize(DocId doc, std::uint16_t saveFlags, std::string* file) = 0;
    // Writes what SavedSize kept as the file at path, as Save would; `pages`,
    // the 1-based input pages it holds, are for the report of an interrupt.
    virtual void SaveFile(const std::string& file, const std::string& path, std::uint64_t maxBytes,
                          const std::vector<int>& pages) = 0;
    // Per page, the objects it reaches (not other pages) with their bytes as
    // stored: what estimates the size of pages written together, where an
    // object several of them reach counts once.
    virtual std::vector<std::vector<ObjectBytes>> PageObjectBytes(DocId doc) = 0;
};

}  // namespace tessera::host
