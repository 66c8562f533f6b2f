// The JPEG 2000 header reader on any bytes.
#include "FuzzTarget.h"
#include "pdf/content/JpxHeader.h"

TESSERA_FUZZ_TARGET(jpx) {
    tessera::pdf::ReadJpxHeader(tessera::fuzz::Bytes(data, size));
    return 0;
}
