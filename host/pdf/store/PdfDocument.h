#pragma once
// One document the host holds open: its qpdf object, the objects it has handed
// out by reference, and where the pages of an output came from.
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/HostTypes.h"
#include "pdf/file/NamedDestinationTable.h"
#include "pdf/text/MupdfDocument.h"

namespace tessera::pdf {

class SerializedObjects;

class PdfDocument {
public:
    PdfDocument(std::unique_ptr<QPDF> qpdf, std::string path, std::string password = "");
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    QPDF& Qpdf() { return *qpdf_; }
    const std::string& Path() const { return path_; }
    const std::string& Password() const { return password_; }

    // Hands out a stable index for an object: the same object, indirect or
    // direct, always gets the same index, so walking a tree again and again
    // does not grow the table. 0 stands for null and non-objects.
    std::uint32_t Remember(QPDFObjectHandle object);
    // An object made up to stand for something the file leaves out (a GoTo
    // action for a bookmark's /Dest, an empty outline root), made once per
    // origin and role.
    std::uint32_t RememberMade(std::uint32_t origin, const std::string& role,
                               const std::function<QPDFObjectHandle()>& make);
    QPDFObjectHandle Object(std::uint32_t index) const;

    int PageCount();
    // qpdf's pages. Where the count came from the text reader, the first call
    // checks that qpdf finds the same page objects: HostError when it does not.
    const std::vector<QPDFObjectHandle>& Pages();
    QPDFObjectHandle Page(int index);  // HostError when out of range
    // 0-based index of a page object of this document, or none.
    std::optional<int> PageIndexOf(const QPDFObjectHandle& page);
    void PagesChanged() { pageIndex_.clear(); }

    // The text reader opened with the document and the pages its plain page
    // tree holds: until something needs qpdf's pages, the page count comes
    // from there, as qpdf reads every page object to find its pages, which
    // on big files costs several times the text reader's memory.
    void SetTextReader(std::unique_ptr<MupdfDocument> reader, std::vector<MupdfDocument::ObjectId> pages);
    std::unique_ptr<MupdfDocument> TakeTextReader() { return std::move(textReader_); }
    const std::optional<std::vector<MupdfDocument::ObjectId>>& TextReaderPages() const { return textPages_; }

    // Whether the file keeps objects in object streams: its outputs may too,
    // with no reader it served left behind.
    bool UsesObjectStreams();

    // The value the /Names /Dests tree gives a name, or null.
    QPDFObjectHandle NamedDestination(const std::string& utf8Name);

    // Pages copied in from another document, by their object here.
    struct Origin {
        PdfDocument* source;
        host::DocId sourceDoc;
        int page;
    };
    void RecordOrigin(QPDFObjGen outputPage, Origin origin) { origins_[outputPage] = origin; }
    const std::map<QPDFObjGen, Origin>& Origins() const { return origins_; }

    std::uint32_t flags = 0;                               // host flags set by the plug-in
    bool repairSaid = false;                               // the warning that qpdf mended it was given
    std::optional<host::Permissions> securityPermissions;  // of an encrypted source
    std::optional<host::SecurityRecord> security;          // to apply when saving an output
    bool preparedForCopy = false;                          // unreferenced resources removed
    bool pageLabelsRemoved = false;                        // an output keeps no labels from its sources
    bool linksTakenOver = false;                           // the plug-in sets every link itself
    // Where remembered actions of a document read from a file lead, which a
    // run does not change: every output asks again for every bookmark's.
    std::map<std::uint32_t, std::optional<host::Destination>> resolvedDestinations;
    std::set<QPDFObjGen> ownedAnnotations;  // annotations some page of this output owns
    // Each source page's dictionary as it was first copied in: a page copied
    // again starts from it, not from the earlier copy as watermarks and
    // edits have left it since.
    std::map<std::pair<const PdfDocument*, QPDFObjGen>, QPDFObjectHandle> firstCopies;
    std::set<QPDFObjGen> nestingMeasured;  // objects of pages already checked for deep nesting
    bool transparencyAdded = false;        // an edit of the plug-in draws with opacity below 1
    // The metadata's ids of an output, made at its first write, so that a
    // measured file and the file written are the same.
    std::string xmpInstanceId, xmpDocumentId;
    std::string droppedClaims;  // what the last write took out of the metadata, and why

    // Stand-ins for heavy objects of pages (pdf/writing/PageStubs.h). In a
    // source: its objects as the direct writer wrote them. In an output:
    // what each of its stand-ins stands for, and the stand-in of each source
    // object, until they are copied in for good.
    std::unique_ptr<SerializedObjects> serialized;
    struct StandIn {
        PdfDocument* source;
        QPDFObjGen object;
    };
    std::map<QPDFObjGen, StandIn> standIns;
    std::map<std::pair<const PdfDocument*, QPDFObjGen>, QPDFObjectHandle> standInOf;
    // Items of a shared outline whose action this output replaces with its own.
    std::map<std::pair<PdfDocument*, QPDFObjGen>, QPDFObjectHandle> replacedActions;
    bool standInsCopied = false;
    bool outlineCounted = false;  // a shared outline's counts are set

private:
    std::unique_ptr<QPDF> qpdf_;
    std::string path_;
    std::string password_;
    std::vector<QPDFObjectHandle> objects_{QPDFObjectHandle::newNull()};
    std::map<QPDFObjGen, std::uint32_t> indirect_;
    std::map<const QPDFObject*, std::uint32_t> direct_;  // the handles in objects_ keep these alive
    std::map<std::pair<std::uint32_t, std::string>, std::uint32_t> made_;
    std::map<QPDFObjGen, int> pageIndex_;
    std::unique_ptr<MupdfDocument> textReader_;
    std::optional<std::vector<MupdfDocument::ObjectId>> textPages_;
    bool pagesChecked_ = false;
    std::optional<bool> objectStreams_;  // qpdf's pages were found to be the text reader's
    std::map<QPDFObjGen, Origin> origins_;
    std::optional<NamedDestinationTable> namedDestinations_;
};

}  // namespace tessera::pdf
