#pragma once
// Objects as the bytes a PDF file holds them in, their references left as
// slots for the numbers each output gives them. A source's objects are made
// into bytes once and handed to every output that takes them.
#include <qpdf/QPDFObjectHandle.hh>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tessera::pdf {

class PdfDocument;

struct SerializedObject {
    enum class Leads : std::uint8_t {
        Object,   // to an object written with it
        Page,     // to a page: the output's copy of it, or null
        Nothing,  // to the page tree or the catalog, never carried: null
        Output    // to an object of the output written (`object` is its own)
    };
    struct Slot {
        std::uint32_t at;  // where in `text` the reference goes
        QPDFObjGen object;
        Leads leads;
    };
    // A stream's dictionary stops before its /Length and closing ">>".
    std::string text;
    std::vector<Slot> slots;
    bool stream = false;
    // A stream stored without a filter is compressed on its way out, as
    // qpdf's writer does, but for metadata, which is left readable.
    bool compress = false;
};

// An object of any document, every reference in it leading to an object.
SerializedObject SerializeAsIs(const QPDFObjectHandle& object);

// A source's objects made into bytes. Those asked for twice are kept: the
// shared ones (fonts, their widths) are asked for by output after output,
// while keeping every object of a big file would hold its whole text.
class SerializedObjects {
public:
    explicit SerializedObjects(PdfDocument& doc) : doc_(doc) {}
    // Valid until the next call.
    const SerializedObject& Of(QPDFObjGen object);
    // The object with the value of `key` a reference to `replacement`, an
    // object of the output; made each time.
    SerializedObject Replacing(QPDFObjGen object, const std::string& key, QPDFObjGen replacement);

private:
    SerializedObject Made(QPDFObjGen object, const std::string* key, QPDFObjGen replacement);

    PdfDocument& doc_;
    std::map<QPDFObjGen, SerializedObject> kept_;
    std::set<QPDFObjGen> askedOnce_;
    SerializedObject last_;
};

}  // namespace tessera::pdf
