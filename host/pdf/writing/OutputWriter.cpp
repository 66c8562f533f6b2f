#include "pdf/writing/OutputWriter.h"

#include <qpdf/Pipeline.hh>
#include <qpdf/QPDFWriter.hh>
#include <qpdf/QUtil.hh>

#include <cstdlib>
#include <filesystem>

#include "host/HostError.h"
#include "pdf/file/TemporaryOutput.h"
#include "pdf/writing/DirectWriter.h"
#include "pdf/writing/OutputFinisher.h"
#include "pdf/writing/PageStubs.h"

namespace tessera::pdf {
namespace {

// An owner password nobody can guess: without one, anyone who opens the file
// could lift its restrictions, and an empty owner password would even open a
// file protected by a user password.
// The bytes come from qpdf's own secure source, the one its encryption uses.
std::string UnguessablePassword() {
    std::string bytes(16, '\0');
    QUtil::initializeWithRandomBytes(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size());
    return QUtil::hex_encode(bytes);
}

void SetEncryption(QPDFWriter& writer, const host::SecurityRecord& s) {
    const std::string user = s.hasOpenPassword ? s.openPassword : "";
    const std::string owner =
        s.hasPermissionsPassword && !s.permissionsPassword.empty() ? s.permissionsPassword : UnguessablePassword();
    using host::Permission;
    const auto allowed = [&](Permission permission) { return s.permissions.Allows(permission); };
    writer.setR6EncryptionParameters(user.c_str(), owner.c_str(),
                                     true,  // accessibility is always allowed
                                     allowed(Permission::Copy),
                                     allowed(Permission::Modify),    // assemble
                                     allowed(Permission::Annotate),  // annotate and fill forms
                                     allowed(Permission::Annotate),  // fill forms
                                     allowed(Permission::Modify),    // other changes
                                     allowed(Permission::Print) ? qpdf_r3p_full : qpdf_r3p_none, true);
}

// Hands qpdf's output to the temporary file, whose writes are all checked.
class TemporaryOutputPipeline : public Pipeline {
public:
    explicit TemporaryOutputPipeline(TemporaryOutput& output) : Pipeline("output", nullptr), output_(output) {}
    void write(unsigned char const* data, std::size_t length) override {
        output_.Write({reinterpret_cast<const char*>(data), length});
        bytes_ += length;
    }
    void finish() override {}
    std::uint64_t Bytes() const { return bytes_; }

private:
    TemporaryOutput& output_;
    std::uint64_t bytes_ = 0;
};

// An output is as new as its newest source. One of several pages packs its
// objects into object streams when a source does, as its readers read them:
// that makes it a quarter smaller. Packing costs about as much time as the
// rest of the write, and saves less than a tenth on an output of a page or
// two, so those, often written by the thousand, are left unpacked.
constexpr std::size_t kLeastPagesToPack = 8;

bool PacksObjects(PdfDocument& doc) {
    bool objectStreams = false;
    for (const auto& [page, origin] : doc.Origins())
        objectStreams = objectStreams || origin.source->UsesObjectStreams();
    return objectStreams && doc.Pages().size() >= kLeastPagesToPack;
}

void FollowSources(QPDFWriter& writer, PdfDocument& doc) {
    for (const auto& [page, origin] : doc.Origins())
        writer.setMinimumPDFVersion(origin.source->Qpdf().getPDFVersion(), origin.source->Qpdf().getExtensionLevel());
    if (PacksObjects(doc)) writer.setObjectStreamMode(qpdf_o_generate);
}

// The input's pages the output holds, 1-based in its order; pages made here
// (none come from an input) are left out.
std::vector<int> SourcePages(PdfDocument& doc) {
    std::vector<int> pages;
    for (const QPDFObjectHandle& page : doc.Qpdf().getAllPages())
        if (const auto origin = doc.Origins().find(page.getObjGen()); origin != doc.Origins().end())
            pages.push_back(origin->second.page + 1);
    return pages;
}

// Counts what qpdf writes, and keeps it when asked to.
class CountingPipeline : public Pipeline {
public:
    explicit CountingPipeline(std::string* file) : Pipeline("count", nullptr), file_(file) {}
    void write(unsigned char const* data, std::size_t length) override {
        bytes_ += length;
        if (file_) file_->append(reinterpret_cast<const char*>(data), length);
    }
    void finish() override {}
    std::uint64_t Bytes() const { return bytes_; }

private:
    std::uint64_t bytes_ = 0;
    std::string* file_;
};

void CreateFolderOf(const std::string& path) {
    const std::filesystem::path target(path);
    std::error_code ec;
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);
    if (ec)
        throw host::HostError(host::kErrorFile,
                              "cannot create the folder " + target.parent_path().string() + ": " + ec.message());
}

void RefuseOverLimit(const std::string& path, std::uint64_t bytes, std::uint64_t maxBytes) {
    if (maxBytes && bytes > maxBytes)
        throw host::HostError(host::kErrorFile, path + " would take " + std::to_string(bytes) +
                                                    " bytes, more than the size limit of " + std::to_string(maxBytes) +
                                                    ", and was not written");
}

void Write(PdfDocument& doc, Pipeline& pipeline, std::uint16_t saveFlags) {
    const bool deterministic = (saveFlags & host::kSaveDeterministic) || std::getenv("TESSERA_STATIC_ID");
    FinishOutput(doc, deterministic);
    if (CanWriteDirect(doc, saveFlags)) {
        const FileId id = std::getenv("TESSERA_STATIC_ID") ? FileId::Static
                          : deterministic                  ? FileId::FromContent
                                                           : FileId::Random;
        WriteDirect(doc, id, PacksObjects(doc), [&](std::string_view bytes) {
            pipeline.write(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        });
        return;
    }
    CopyStandIns(doc);
    QPDFWriter writer(doc.Qpdf());
    writer.setOutputPipeline(&pipeline);
    FollowSources(writer, doc);
    if (doc.security) SetEncryption(writer, *doc.security);
    if (saveFlags & host::kSaveLinearized) writer.setLinearization(true);
    if (saveFlags & host::kSaveDeterministic) writer.setDeterministicID(true);
    if (std::getenv("TESSERA_STATIC_ID")) writer.setStaticID(true);  // reproducible files for tests
    writer.write();
}

}  // namespace

std::uint64_t MeasureOutput(PdfDocument& doc, std::uint16_t saveFlags, std::string* file) {
    if (file) file->clear();
    CountingPipeline counter(file);
    Write(doc, counter, saveFlags);
    return counter.Bytes();
}

void WriteOutput(PdfDocument& doc, const std::string& path, std::uint16_t saveFlags, std::uint64_t maxBytes) {
    CreateFolderOf(path);
    TemporaryOutput output(path);
    TemporaryOutputPipeline pipeline(output);
    Write(doc, pipeline, saveFlags);
    RefuseOverLimit(path, pipeline.Bytes(), maxBytes);
    output.Commit(SourcePages(doc));
}

void WriteFile(const std::string& file, const std::string& path, std::uint64_t maxBytes, std::vector<int> pages) {
    RefuseOverLimit(path, file.size(), maxBytes);
    CreateFolderOf(path);
    TemporaryOutput output(path);
    output.Write(file);
    output.Commit(std::move(pages));
}

}  // namespace tessera::pdf
