#pragma once
// The wrapper over one host document, the source or an output. It closes only
// documents it created or opened itself: the user's document stays open.
#include <cstdint>
#include <optional>
#include <string>

#include "access/OwnedId.h"
#include "host/HostTypes.h"
#include "host/ProgressMonitor.h"

namespace tessera {

class DocumentHandle {
public:
    enum class Ownership { Borrowed, Owned };

    DocumentHandle() = default;  // over nothing: every query yields 0
    DocumentHandle(host::DocId doc, Ownership ownership);
    DocumentHandle(const DocumentHandle&) = delete;
    DocumentHandle& operator=(const DocumentHandle&) = delete;

    // Over the host's active document, which the handle never closes.
    static host::DocId ActiveDocument();

    host::DocId Doc() const { return doc_; }
    bool HasDocument() const { return doc_ != host::kNoDocument; }
    int PageCount() const;
    std::uint32_t Flags() const;
    std::optional<host::Permissions> SecurityPermissions() const;
    std::string FilePath() const;

    const std::string& OutputPath() const { return outputPath_; }
    void SetOutputPath(std::string path) { outputPath_ = std::move(path); }
    std::uint16_t SaveFlags() const { return saveFlags_; }
    void AddSaveFlags(std::uint16_t flags) { saveFlags_ |= flags; }

    // The monitor given by a batch command, else the host's document monitor.
    host::ProgressMonitor& Monitor() const;
    void SetMonitor(host::ProgressMonitor* monitor) { monitor_ = monitor; }

    // Closes an owned document; the handle then holds none.
    void Release();

private:
    host::DocId doc_ = host::kNoDocument;
    OwnedDocument owned_;  // the same document when the handle closes it
    std::string outputPath_;
    std::uint16_t saveFlags_ = host::kSaveFull | host::kSaveCollectGarbage;
    host::ProgressMonitor* monitor_ = nullptr;
};

}  // namespace tessera
