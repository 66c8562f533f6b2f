#include "support/Netpbm.h"

#include <fstream>
#include <stdexcept>

namespace tessera::test {

Netpbm ReadNetpbm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    Netpbm picture;
    int most = 0;
    in >> picture.magic >> picture.width >> picture.height >> most;
    in.get();
    const std::size_t channels = picture.magic == "P6" ? 3 : 1;
    if ((picture.magic != "P5" && picture.magic != "P6") || most != 255 || picture.width <= 0 || picture.height <= 0)
        throw std::runtime_error("not an 8-bit PGM or PPM: " + path);
    picture.samples.resize(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) *
                           channels);
    in.read(picture.samples.data(), static_cast<std::streamsize>(picture.samples.size()));
    if (!in) throw std::runtime_error("a picture cut short: " + path);
    return picture;
}

}  // namespace tessera::test
