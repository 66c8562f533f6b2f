#pragma once
// Objects packed into object streams and the cross-reference stream that
// finds them, as a file from PDF 1.5 on may hold them: a quarter smaller
// than each object on its own and a table of fixed-width lines.
#include <cstdint>
#include <string>
#include <vector>

namespace tessera::pdf {

struct PackedObject {
    std::uint32_t number;
    std::string body;
};

// Where each object of the file is: in the file at an offset, or in an
// object stream at an index.
struct CrossReference {
    enum class Kind : std::uint8_t { Free, AtOffset, InStream };
    Kind kind = Kind::Free;
    std::uint64_t offsetOrStream = 0;
    std::uint32_t index = 0;
};

// Objects an object stream holds at most, as qpdf packs them.
constexpr std::size_t kObjectsPerStream = 100;

// Object stream `number` holding `objects`, as the text of an indirect object.
std::string ObjectStream(std::uint32_t number, const PackedObject* objects, std::size_t count);

// Cross-reference stream `number` for `entries` (entry 0 is the free head),
// with the trailer's entries (" /Root 1 0 R /ID [...]") in its dictionary.
std::string CrossReferenceStream(std::uint32_t number, const std::vector<CrossReference>& entries,
                                 const std::string& trailerEntries);

}  // namespace tessera::pdf
