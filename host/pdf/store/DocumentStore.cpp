#include "pdf/store/DocumentStore.h"

#include <filesystem>
#include <vector>

#include <qpdf/QUtil.hh>

#include "host/HostError.h"
#include "os/RegularFile.h"
#include "pdf/file/QpdfFile.h"
#include "pdf/file/QpdfGuard.h"

namespace tessera::pdf {
namespace {

// The path as typed, made absolute so that it still names the file wherever it
// is shown or linked from; "." and empty names are dropped, ".." is kept, as
// it may climb out of a symbolic link.
std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) return path;
    std::filesystem::path out;
    for (const std::filesystem::path& name : absolute)
        if (name != "." && !name.empty()) out /= name;
    return out.string();
}

// The text reader and its pages, when both readers read the file as it is
// and its page tree is plain; otherwise qpdf's pages are the only ones.
void OpenTextReader(PdfDocument& doc) {
    if (doc.Qpdf().numWarnings() > 0) return;  // qpdf mended the file: MuPDF may mend it otherwise
    try {
        auto reader = std::make_unique<MupdfDocument>(doc.Path(), doc.Password());
        if (std::optional<std::vector<MupdfDocument::ObjectId>> pages = reader->PlainPageTree())
            doc.SetTextReader(std::move(reader), std::move(*pages));
    } catch (const host::HostError&) {
        // qpdf's pages then, and the word finder says why it cannot read the text
    }
}

// RC4 and AES-128 passwords are PDFDocEncoding bytes while a terminal types
// UTF-8: after the password as typed, the single-byte forms qpdf's own command
// line tries (PDFDocEncoding, Windows and Mac Roman).
std::vector<std::string> PasswordForms(const std::string& password) {
    if (password.empty()) return {password};
    return QUtil::possible_repaired_encodings(password);
}

}  // namespace

host::DocId DocumentStore::Open(const std::string& path, const std::string& password) {
    CheckRegularFile(path);
    std::unique_ptr<QPDF> qpdf;
    std::string matched;
    const std::vector<std::string> forms = PasswordForms(password);
    for (std::size_t i = 0; !qpdf; ++i) {
        try {
            qpdf = OpenQpdfFile(path, forms[i]);
            matched = forms[i];
        } catch (const host::HostError& error) {
            if (error.Code() != host::kErrorPassword) throw;
            // qpdf calls a missing password invalid; the user gave none.
            if (password.empty()) throw host::HostError(host::kErrorPassword, "it needs a password to be opened");
            if (i + 1 == forms.size()) throw;
        }
    }
    // The word finder opens the same file: it needs the form that matched.
    auto doc = std::make_unique<PdfDocument>(std::move(qpdf), AbsolutePath(path), matched);
    int r = 0, p = 0;
    // The owner of a document may do everything with it, whatever its /P says.
    if (doc->Qpdf().isEncrypted(r, p))
        doc->securityPermissions = doc->Qpdf().ownerPasswordMatched() ? host::Permissions() : host::Permissions(p);
    if (doc->Qpdf().isLinearized()) doc->flags |= host::kDocFlagLinearized;
    if (planningOnly_) OpenTextReader(*doc);
    // A broken page tree is refused here, not mid-run.
    if (!doc->TextReaderPages()) QpdfGuard([&] { doc->Pages(); });
    documents_[next_] = std::move(doc);
    return next_++;
}

host::DocId DocumentStore::CreateEmpty() {
    auto qpdf = std::make_unique<QPDF>();
    qpdf->setSuppressWarnings(true);
    QpdfGuard([&] { qpdf->emptyPDF(); });
    documents_[next_] = std::make_unique<PdfDocument>(std::move(qpdf), "");
    return next_++;
}

void DocumentStore::Close(host::DocId doc) { documents_.erase(doc); }

PdfDocument& DocumentStore::Get(host::DocId doc) {
    const auto it = documents_.find(doc);
    if (it == documents_.end()) throw host::HostError(host::kErrorBadArgument, "no such document");
    return *it->second;
}

std::optional<std::string> DocumentStore::RepairNote(host::DocId doc) {
    PdfDocument& document = Get(doc);
    if (document.Qpdf().numWarnings() == 0 || document.repairSaid) return std::nullopt;
    document.repairSaid = true;
    return "The input is damaged: it was repaired as it was read.";
}

QPDFObjectHandle DocumentStore::Resolve(host::ObjectRef ref) {
    if (ref.IsNull()) return QPDFObjectHandle::newNull();
    return Get(ref.doc).Object(ref.index);
}

host::ObjectRef DocumentStore::RefTo(host::DocId doc, const QPDFObjectHandle& object) {
    return {doc, Get(doc).Remember(object)};
}

host::ObjectRef DocumentStore::RefToMade(host::ObjectRef origin, const std::string& role,
                                         const std::function<QPDFObjectHandle()>& make) {
    return {origin.doc, Get(origin.doc).RememberMade(origin.index, role, make)};
}

void DocumentStore::KeepUntilExit() {
    static auto* kept = new std::vector<std::unique_ptr<PdfDocument>>;  // reachable: not a leak
    for (auto& [id, doc] : documents_) kept->push_back(std::move(doc));
    documents_.clear();
}

bool DocumentStore::IsInputFile(const std::string& path) const {
    const std::optional<host::FileIdentity> file = IdentityOf(path);
    if (!file) return false;
    if (batchInputs_.Contains(*file)) return true;
    for (const auto& [id, doc] : documents_)
        if (!doc->Path().empty() && IdentityOf(doc->Path()) == file) return true;
    return false;
}

}  // namespace tessera::pdf
