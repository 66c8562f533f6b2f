#include "pdf/writing/DirectWriter.h"

#include <qpdf/Pl_Buffer.hh>
#include <qpdf/Pl_Flate.hh>
#include <qpdf/QUtil.hh>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include "host/HostTypes.h"
#include "pdf/store/SerializedObjects.h"
#include "pdf/writing/OutputWriter.h"
#include "pdf/writing/PackedObjects.h"

namespace tessera::pdf {
namespace {

using Leads = SerializedObject::Leads;

// Major and minor of a version such as "1.7", to compare as numbers.
std::pair<int, int> VersionParts(const std::string& version) {
    int major = 0, minor = 0;
    std::sscanf(version.c_str(), "%d.%d", &major, &minor);
    return {major, minor};
}

// The newest version among the output's sources, as qpdf's writer is told.
std::string VersionOf(PdfDocument& doc) {
    std::string newest = "1.3";  // an empty document's
    for (const auto& [page, origin] : doc.Origins()) {
        const std::string version = origin.source->Qpdf().getPDFVersion();
        if (VersionParts(version) > VersionParts(newest)) newest = version;
    }
    return newest;
}

std::shared_ptr<Buffer> Compressed(QPDFObjectHandle stream) {
    Pl_Buffer buffer("compressed");
    Pl_Flate flate("flate", &buffer, Pl_Flate::a_deflate);
    stream.pipeStreamData(&flate, 0, qpdf_dl_none);
    return buffer.getBufferSharedPointer();
}

// qpdf's fixed identifier, so that files for tests compare equal.
constexpr const char* kStaticId = "31415926535897932384626433832795";

class Writer {
public:
    Writer(PdfDocument& doc, const std::function<void(std::string_view)>& sink) : doc_(doc), sink_(sink) {
        // A source page leads to the output's first copy of it.
        for (const QPDFObjectHandle& page : doc.Qpdf().getAllPages()) {
            const auto origin = doc.Origins().find(page.getObjGen());
            if (origin == doc.Origins().end()) continue;
            PdfDocument* source = origin->second.source;
            copyOf_.try_emplace({source, source->Page(origin->second.page).getObjGen()}, page.getObjGen());
        }
    }

    void Write(FileId id, bool pack) {
        hashed_ = id == FileId::FromContent;
        pack_ = pack;
        std::string version = VersionOf(doc_);
        if (pack && VersionParts(version) < std::pair{1, 5}) version = "1.5";  // object streams came with it
        Append("%PDF-" + version + "\n%\xbf\xf7\xa2\xfe\n");
        QPDFObjectHandle trailer = doc_.Qpdf().getTrailer();
        const std::uint32_t root = Number({&doc_, trailer.getKey("/Root").getObjGen()});
        const QPDFObjectHandle info = trailer.getKey("/Info");
        const std::uint32_t infoNumber = info.isIndirect() ? Number({&doc_, info.getObjGen()}) : 0;
        for (std::size_t k = 0; k < order_.size(); ++k) WriteObject(k);
        const std::string entries = " /Root " + std::to_string(root) + " 0 R" +
                                    (infoNumber ? " /Info " + std::to_string(infoNumber) + " 0 R" : "");
        if (pack)
            EndPacked(id, entries);
        else
            EndPlain(id, entries);
        Flush();
    }

private:
    using Key = std::pair<PdfDocument*, QPDFObjGen>;

    std::uint32_t Number(const Key& key) {
        auto [known, added] = numbers_.try_emplace(key, static_cast<std::uint32_t>(order_.size() + 1));
        if (added) order_.push_back(key);
        return known->second;
    }

    // The number a reference of an object of the output is written with.
    std::uint32_t OutputReference(QPDFObjGen object) {
        const auto standIn = doc_.standIns.find(object);
        if (standIn != doc_.standIns.end()) return Number({standIn->second.source, standIn->second.object});
        return Number({&doc_, object});
    }

    // The number a reference of a source's object is written with; 0 for null.
    std::uint32_t SourceReference(PdfDocument* source, const SerializedObject::Slot& slot) {
        if (slot.leads == Leads::Nothing) return 0;
        if (slot.leads == Leads::Object) return Number({source, slot.object});
        if (slot.leads == Leads::Output) return Number({&doc_, slot.object});
        const auto copy = copyOf_.find({source, slot.object});
        return copy == copyOf_.end() ? 0 : Number({&doc_, copy->second});
    }

    void WriteObject(std::size_t k) {
        PdfDocument* document = order_[k].first;
        const QPDFObjGen object = order_[k].second;
        QPDFObjectHandle handle = document->Qpdf().getObject(object);
        SerializedObject own;
        const SerializedObject* made = &own;
        if (document == &doc_) {
            own = SerializeAsIs(handle);
        } else {
            if (!document->serialized) document->serialized = std::make_unique<SerializedObjects>(*document);
            const auto replaced = doc_.replacedActions.find({document, object});
            if (replaced == doc_.replacedActions.end())
                made = &document->serialized->Of(object);
            else
                own = document->serialized->Replacing(object, "/A", replaced->second.getObjGen());
        }
        const auto resolve = [&](const SerializedObject::Slot& slot) {
            return document == &doc_ ? OutputReference(slot.object) : SourceReference(document, slot);
        };
        if (pack_ && !made->stream) {
            packed_.push_back({static_cast<std::uint32_t>(k + 1), {}});
            Text(*made, resolve, packed_.back().body);
            return;
        }
        At(k + 1, {CrossReference::Kind::AtOffset, Offset(), 0});
        Append(std::to_string(k + 1) + " 0 obj\n");
        Text(*made, resolve, buffer_);
        if (made->stream) StreamData(*made, handle);
        Append("\nendobj\n");
    }

    // The object's text, each reference given its number.
    template <class Resolve>
    void Text(const SerializedObject& made, Resolve resolve, std::string& out) {
        std::size_t from = 0;
        for (const SerializedObject::Slot& slot : made.slots) {
            out.append(made.text, from, slot.at - from);
            const std::uint32_t number = resolve(slot);
            out += number ? std::to_string(number) + " 0 R" : std::string("null");
            from = slot.at;
        }
        out.append(made.text, from, std::string::npos);
    }

    void StreamData(const SerializedObject& made, QPDFObjectHandle handle) {
        const std::shared_ptr<Buffer> data = made.compress ? Compressed(handle) : handle.getRawStreamData();
        Append(std::string(made.compress ? " /Filter /FlateDecode" : "") + " /Length " +
               std::to_string(data->getSize()) + " >>\nstream\n");
        Append({reinterpret_cast<const char*>(data->getBuffer()), data->getSize()});
        // As qpdf writes it: the length says where the data ends.
        Append("endstream");
    }

    std::uint64_t Offset() const { return written_ + buffer_.size(); }

    void At(std::size_t number, CrossReference entry) {
        if (entries_.size() <= number) entries_.resize(number + 1);
        entries_[number] = entry;
    }

    void EndPlain(FileId id, const std::string& entries) {
        const std::uint64_t xref = Offset();
        Append("xref\n0 " + std::to_string(order_.size() + 1) + "\n0000000000 65535 f \n");
        char line[24];
        for (std::size_t number = 1; number <= order_.size(); ++number) {
            std::snprintf(line, sizeof line, "%010llu 00000 n \n",
                          static_cast<unsigned long long>(entries_[number].offsetOrStream));
            Append(line);
        }
        Flush();
        const std::string fileId = IdOf(id);
        Append("trailer <<" + entries + " /Size " + std::to_string(order_.size() + 1) + " /ID [<" + fileId + "><" +
               fileId + ">] >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n");
    }

    void EndPacked(FileId id, const std::string& entries) {
        auto next = static_cast<std::uint32_t>(order_.size() + 1);
        for (std::size_t first = 0; first < packed_.size(); first += kObjectsPerStream) {
            const std::size_t count = std::min(kObjectsPerStream, packed_.size() - first);
            const std::uint32_t stream = next++;
            for (std::size_t k = 0; k < count; ++k)
                At(packed_[first + k].number, {CrossReference::Kind::InStream, stream, static_cast<std::uint32_t>(k)});
            At(stream, {CrossReference::Kind::AtOffset, Offset(), 0});
            Append(ObjectStream(stream, &packed_[first], count));
        }
        const std::uint32_t xref = next;
        const std::uint64_t at = Offset();
        At(xref, {CrossReference::Kind::AtOffset, at, 0});
        Flush();
        const std::string fileId = IdOf(id);
        Append(CrossReferenceStream(xref, entries_, entries + " /ID [<" + fileId + "><" + fileId + ">]"));
        Append("startxref\n" + std::to_string(at) + "\n%%EOF\n");
    }

    std::string IdOf(FileId id) const {
        if (id == FileId::Static) return kStaticId;
        std::string bytes(16, '\0');
        if (id == FileId::Random) {
            QUtil::initializeWithRandomBytes(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size());
        } else {
            for (std::size_t k = 0; k < bytes.size(); ++k) bytes[k] = static_cast<char>(hash_[k / 8] >> (8 * (k % 8)));
        }
        return QUtil::hex_encode(bytes);
    }

    void Append(std::string_view bytes) {
        buffer_.append(bytes);
        if (buffer_.size() >= kBufferBytes) Flush();
    }

    void Flush() {
        // Two running FNV-1a hashes of everything written, for an identifier
        // made from the content.
        if (hashed_)
            for (const char c : buffer_)
                for (std::uint64_t& h : hash_) h = (h ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
        written_ += buffer_.size();
        sink_(buffer_);
        buffer_.clear();
    }

    static constexpr std::size_t kBufferBytes = 1 << 16;
    PdfDocument& doc_;
    const std::function<void(std::string_view)>& sink_;
    std::map<Key, std::uint32_t> numbers_;
    std::vector<Key> order_;
    std::vector<CrossReference> entries_{1};
    std::vector<PackedObject> packed_;
    bool pack_ = false;
    std::map<Key, QPDFObjGen> copyOf_;
    std::string buffer_;
    std::uint64_t written_ = 0;
    bool hashed_ = false;
    std::uint64_t hash_[2] = {0xcbf29ce484222325ULL, 0x84222325cbf29ce4ULL};
};

}  // namespace

bool CanWriteDirect(PdfDocument& doc, std::uint16_t saveFlags) {
    if (doc.standIns.empty() || doc.security || (saveFlags & host::kSaveLinearized)) return false;
    for (const auto& [page, origin] : doc.Origins())
        if (origin.source->Qpdf().getExtensionLevel() > 0) return false;
    return true;
}

void WriteDirect(PdfDocument& doc, FileId id, bool pack, const std::function<void(std::string_view)>& sink) {
    Writer(doc, sink).Write(id, pack);
}

}  // namespace tessera::pdf
