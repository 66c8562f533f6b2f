#pragma once
// The documents the host holds open, by id.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "host/HostTypes.h"
#include "pdf/file/InputFiles.h"
#include "pdf/store/PdfDocument.h"

namespace tessera::pdf {

class DocumentStore {
public:
    // Opens a file (with a password for an encrypted one); HostError when it cannot.
    host::DocId Open(const std::string& path, const std::string& password = "");
    host::DocId CreateEmpty();
    // For runs that write nothing: documents opened from then on count their
    // pages with the text reader, so that a text scan never has qpdf read
    // every page object (see PdfDocument::SetTextReader).
    void SetPlanningOnly(bool planningOnly) { planningOnly_ = planningOnly; }
    void Close(host::DocId doc);
    PdfDocument& Get(host::DocId doc);
    // That qpdf mended a damaged document as it read it, as a warning to
    // show once; none for a sound one, or when it was given before. No count:
    // qpdf mends what it reads, and what it reads differs from run to run.
    std::optional<std::string> RepairNote(host::DocId doc);

    // Object references handed to the plug-in.
    QPDFObjectHandle Resolve(host::ObjectRef ref);
    host::ObjectRef RefTo(host::DocId doc, const QPDFObjectHandle& object);
    // A reference to an object made up for origin in a role, made only once.
    host::ObjectRef RefToMade(host::ObjectRef origin, const std::string& role,
                              const std::function<QPDFObjectHandle()>& make);

    // For a process about to end: the documents are kept, never freed, as
    // taking a big document apart object by object costs as long as writing
    // an output, and the system takes the memory back at once.
    void KeepUntilExit();

    // The input files of a batch while it runs (none after it): each one
    // counts as an input from the start, whether split already or waiting.
    void SetBatchInputs(const std::vector<std::string>& paths) { batchInputs_.Set(paths); }
    // Whether path names, links followed, the file of a document that is
    // open or one of the batch's input files.
    bool IsInputFile(const std::string& path) const;

private:
    host::DocId next_ = 1;
    bool planningOnly_ = false;
    std::map<host::DocId, std::unique_ptr<PdfDocument>> documents_;
    InputFiles batchInputs_;
};

}  // namespace tessera::pdf
