#pragma once
// The stream form of cabinets: JSON, an object per cabinet with its keys in
// order; booleans and integers as JSON's own; reals always with a decimal
// point or an exponent (72.0); texts as strings; byte strings as
// {"$bytes": "<base64>"}. Pointers are not written. The reader takes exactly
// what the writer writes and refuses anything else, saying where.
#include "host/Cabinet.h"

namespace tessera::cabinet {

class JsonCabinetStreams : public host::CabinetServices {
public:
    std::string WriteStream(const host::Cabinet& cabinet) override;
    host::Cabinet ReadStream(const std::string& stream) override;
};

}  // namespace tessera::cabinet
