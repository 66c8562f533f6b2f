#pragma once
// Binary netpbm pictures (PGM "P5", PPM "P6", 8 bits a sample), the form
// mutool and ImageMagick write pixels in for tests to read.
#include <string>

namespace tessera::test {

struct Netpbm {
    std::string magic;  // "P5" grey, "P6" RGB
    int width = 0, height = 0;
    std::string samples;  // row after row from the top
};

// std::runtime_error when the file is no 8-bit P5 or P6 picture.
Netpbm ReadNetpbm(const std::string& path);

}  // namespace tessera::test
