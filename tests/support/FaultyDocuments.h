#pragma once
// The real host's document services with one fault put in on purpose: the Nth
// call of a chosen operation raises a HostError instead of reaching the host.
// For its life it is the document service the linked-in plug-in calls.
#include <optional>
#include <string>

#include "host/DocumentServices.h"
#include "host/HostServices.h"
#include "support/ScopedHost.h"

namespace tessera::test {

class FaultyDocuments : public host::DocumentServices {
public:
    enum class Operation {
        NewDocument,
        CloseDocument,
        PageCount,
        Flags,
        SetFlags,
        FilePath,
        SecurityPermissions,
        InfoValue,
        SetInfoValue,
        HasCatalogEntry,
        CopyCatalogEntry,
        PageLabel,
        RemovePageLabels,
        MediaBox,
        CreatePage,
        DeletePage,
        InsertPages,
        SetSecurity,
        Save
    };

    FaultyDocuments(const host::HostServices& real, Operation failing, int nth);

    // The text of the raised error.
    static std::string FaultText(Operation failing, int nth);

    host::DocId NewDocument() override {
        Call(Operation::NewDocument);
        return real_.NewDocument();
    }
    void CloseDocument(host::DocId doc) override {
        Call(Operation::CloseDocument);
        real_.CloseDocument(doc);
    }
    int PageCount(host::DocId doc) override {
        Call(Operation::PageCount);
        return real_.PageCount(doc);
    }
    std::uint32_t Flags(host::DocId doc) override {
        Call(Operation::Flags);
        return real_.Flags(doc);
    }
    void SetFlags(host::DocId doc, std::uint32_t flags) override {
        Call(Operation::SetFlags);
        real_.SetFlags(doc, flags);
    }
    std::string FilePath(host::DocId doc) override {
        Call(Operation::FilePath);
        return real_.FilePath(doc);
    }
    std::optional<host::Permissions> SecurityPermissions(host::DocId doc) override {
        Call(Operation::SecurityPermissions);
        return real_.SecurityPermissions(doc);
    }
    std::string InfoValue(host::DocId doc, const std::string& key) override {
        Call(Operation::InfoValue);
        return real_.InfoValue(doc, key);
    }
    void SetInfoValue(host::DocId doc, const std::string& key, const std::string& value) override {
        Call(Operation::SetInfoValue);
        real_.SetInfoValue(doc, key, value);
    }
    bool HasCatalogEntry(host::DocId doc, const std::string& key) override {
        Call(Operation::HasCatalogEntry);
        return real_.HasCatalogEntry(doc, key);
    }
    void CopyCatalogEntry(host::DocId to, host::DocId from, const std::string& key) override {
        Call(Operation::CopyCatalogEntry);
        real_.CopyCatalogEntry(to, from, key);
    }
    std::string PageLabel(host::DocId doc, int page) override {
        Call(Operation::PageLabel);
        return real_.PageLabel(doc, page);
    }
    void RemovePageLabels(host::DocId doc) override {
        Call(Operation::RemovePageLabels);
        real_.RemovePageLabels(doc);
    }
    host::Rect MediaBox(host::DocId doc, int page) override {
        Call(Operation::MediaBox);
        return real_.MediaBox(doc, page);
    }
    void CreatePage(host::DocId doc, host::PagePosition position, const host::Rect& mediaBox) override {
        Call(Operation::CreatePage);
        real_.CreatePage(doc, position, mediaBox);
    }
    void DeletePage(host::DocId doc, int page) override {
        Call(Operation::DeletePage);
        real_.DeletePage(doc, page);
    }
    void InsertPages(host::DocId to, host::PagePosition position, host::DocId from, int firstPage, int count) override {
        Call(Operation::InsertPages);
        real_.InsertPages(to, position, from, firstPage, count);
    }
    void SetSecurity(host::DocId doc, const host::SecurityRecord& security) override {
        Call(Operation::SetSecurity);
        real_.SetSecurity(doc, security);
    }
    std::vector<std::vector<host::ObjectBytes>> PageObjectBytes(host::DocId doc) override {
        return real_.PageObjectBytes(doc);
    }
    std::uint64_t SavedSize(host::DocId doc, std::uint16_t saveFlags, std::string* file) override {
        Call(Operation::Save);
        return real_.SavedSize(doc, saveFlags, file);
    }
    void SaveFile(const std::string& file, const std::string& path, std::uint64_t maxBytes,
                  const std::vector<int>& pages) override {
        Call(Operation::Save);
        real_.SaveFile(file, path, maxBytes, pages);
    }
    void Save(host::DocId doc, const std::string& path, std::uint16_t saveFlags, host::ProgressMonitor* monitor,
              std::uint64_t maxBytes) override {
        Call(Operation::Save);
        real_.Save(doc, path, saveFlags, monitor, maxBytes);
    }

private:
    // Counts a call of the operation; raises the fault at the chosen one.
    void Call(Operation operation);
    static host::HostServices WithDocuments(host::HostServices services, host::DocumentServices& documents);

    host::DocumentServices& real_;
    Operation failing_;
    int remaining_;
    std::string text_;
    ScopedHost locator_;
};

}  // namespace tessera::test
