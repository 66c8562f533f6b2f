#include "pdf/writing/PackedObjects.h"

#include <qpdf/Pl_Buffer.hh>
#include <qpdf/Pl_Flate.hh>

namespace tessera::pdf {
namespace {

std::string Deflated(const std::string& data) {
    Pl_Buffer buffer("packed");
    Pl_Flate flate("flate", &buffer, Pl_Flate::a_deflate);
    flate.write(reinterpret_cast<const unsigned char*>(data.data()), data.size());
    flate.finish();
    const std::shared_ptr<Buffer> out = buffer.getBufferSharedPointer();
    return out->getSize() ? std::string(reinterpret_cast<const char*>(out->getBuffer()), out->getSize()) : "";
}

std::string StreamObject(std::uint32_t number, const std::string& dictEntries, const std::string& data) {
    const std::string deflated = Deflated(data);
    return std::to_string(number) + " 0 obj\n<<" + dictEntries + " /Filter /FlateDecode /Length " +
           std::to_string(deflated.size()) + " >>\nstream\n" + deflated + "endstream\nendobj\n";
}

void AppendBigEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int b = bytes - 1; b >= 0; --b) out += static_cast<char>((value >> (8 * b)) & 0xff);
}

}  // namespace

std::string ObjectStream(std::uint32_t number, const PackedObject* objects, std::size_t count) {
    std::string header, bodies;
    for (std::size_t k = 0; k < count; ++k) {
        header += std::to_string(objects[k].number) + " " + std::to_string(bodies.size()) + " ";
        bodies += objects[k].body + "\n";
    }
    header.back() = '\n';
    return StreamObject(number,
                        " /Type /ObjStm /N " + std::to_string(count) + " /First " + std::to_string(header.size()),
                        header + bodies);
}

std::string CrossReferenceStream(std::uint32_t number, const std::vector<CrossReference>& entries,
                                 const std::string& trailerEntries) {
    std::uint64_t largest = 0;
    for (const CrossReference& entry : entries) largest = std::max(largest, entry.offsetOrStream);
    int width = 1;
    while (width < 8 && (largest >> (8 * width)) != 0) ++width;
    std::string rows;
    for (const CrossReference& entry : entries) {
        rows += static_cast<char>(entry.kind);
        AppendBigEndian(rows, entry.offsetOrStream, width);
        AppendBigEndian(rows, entry.kind == CrossReference::Kind::Free ? 0xffff : entry.index, 2);
    }
    return StreamObject(number,
                        " /Type /XRef /Size " + std::to_string(entries.size()) + " /W [ 1 " + std::to_string(width) +
                            " 2 ]" + trailerEntries,
                        rows);
}

}  // namespace tessera::pdf
