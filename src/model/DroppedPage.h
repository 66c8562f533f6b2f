#pragma once
// A page that planning left out of every output on purpose, and why: the
// page account names it rather than letting it vanish.
#include <cstdint>
#include <string>

namespace tessera {

enum class DropReason : std::int32_t {
    Blank,      // a blank page, or a scan without ink, cutting the document
    Separator,  // a separator sheet: a page with a code, a sheet of a colour
    SheetBack,  // the back of a separator sheet in a duplex scan
};

struct DroppedPage {
    int page = 0;  // 0-based
    DropReason reason = DropReason::Blank;
    std::string kind;   // what made it one: "blank", "scan", "code", "sheet"
    std::string value;  // the code read, the colour's share...; empty where there is none

    friend bool operator==(const DroppedPage&, const DroppedPage&) = default;
};

}  // namespace tessera
