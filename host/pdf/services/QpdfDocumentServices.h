#pragma once
// Documents and pages over qpdf.
#include "host/DocumentServices.h"
#include "pdf/store/DocumentStore.h"

namespace tessera::pdf {

class QpdfDocumentServices : public host::DocumentServices {
public:
    explicit QpdfDocumentServices(DocumentStore& store) : store_(store) {}

    host::DocId NewDocument() override;
    void CloseDocument(host::DocId doc) override;
    int PageCount(host::DocId doc) override;
    std::uint32_t Flags(host::DocId doc) override;
    void SetFlags(host::DocId doc, std::uint32_t flags) override;
    std::string FilePath(host::DocId doc) override;
    std::optional<host::Permissions> SecurityPermissions(host::DocId doc) override;
    std::string InfoValue(host::DocId doc, const std::string& key) override;
    void SetInfoValue(host::DocId doc, const std::string& key, const std::string& value) override;
    bool HasCatalogEntry(host::DocId doc, const std::string& key) override;
    void CopyCatalogEntry(host::DocId to, host::DocId from, const std::string& key) override;
    std::string DroppedClaims(host::DocId doc) override;
    std::string PageLabel(host::DocId doc, int page) override;
    void RemovePageLabels(host::DocId doc) override;
    host::Rect MediaBox(host::DocId doc, int page) override;
    void CreatePage(host::DocId doc, host::PagePosition position, const host::Rect& mediaBox) override;
    void DeletePage(host::DocId doc, int page) override;
    void InsertPages(host::DocId to, host::PagePosition position, host::DocId from, int firstPage, int count) override;
    void SetSecurity(host::DocId doc, const host::SecurityRecord& security) override;
    std::uint64_t SavedSize(host::DocId doc, std::uint16_t saveFlags, std::string* file) override;
    void SaveFile(const std::string& file, const std::string& path, std::uint64_t maxBytes,
                  const std::vector<int>& pages) override;
    std::vector<std::vector<host::ObjectBytes>> PageObjectBytes(host::DocId doc) override;
    void Save(host::DocId doc, const std::string& path, std::uint16_t saveFlags, host::ProgressMonitor* monitor,
              std::uint64_t maxBytes) override;

private:
    void RefuseInput(const std::string& path);
    DocumentStore& store_;
};

}  // namespace tessera::pdf
