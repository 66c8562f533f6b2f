#pragma once
// Text read from a page's pixels. The engine itself (Tesseract) lives in a
// module of its own, loaded when a page is first read by OCR: a run without
// OCR never maps it, and the module can hold Tesseract's OpenMP threads to
// one before OpenMP starts (runtime/OcrModule).
#include <memory>
#include <string>
#include <vector>

namespace tessera::pdf {

struct OcrWord {
    std::string text;                              // UTF-8
    int left = 0, top = 0, right = 0, bottom = 0;  // pixels of the image read
    float confidence = 0;                          // 0 to 100
};

// A part of an image, in pixels.
struct OcrRegion {
    int left = 0, top = 0, width = 0, height = 0;
};

// One engine reads one page at a time on the caller's thread.
class OcrEngine {
public:
    virtual ~OcrEngine() = default;
    virtual const std::string& Languages() const = 0;
    // The words of an 8-bit grey image (`stride` bytes per row) at `dpi`,
    // in reading order: of the whole image, or of the region only, their
    // boxes in the whole image's pixels.
    virtual std::vector<OcrWord> Read(const unsigned char* pixels, int width, int height, int stride, int dpi,
                                      const OcrRegion* region = nullptr) = 0;
};

// Text recognition as the program has it.
class OcrLibrary {
public:
    virtual ~OcrLibrary() = default;
    // An engine of the languages ("eng+deu"); HostError naming the Debian
    // package of a language whose data is not installed.
    virtual std::unique_ptr<OcrEngine> Start(const std::string& languages) = 0;
    // The languages whose data is installed ("eng", "deu"...).
    virtual const std::vector<std::string>& InstalledLanguages() = 0;
};

// The languages read for `asked`, as host/PagePixelServices.h says, the
// user's language taken from LC_ALL, LC_MESSAGES or LANG; HostError as
// OcrLibrary::Start throws it.
std::string ResolvedOcrLanguages(OcrLibrary& library, const std::string& asked);

}  // namespace tessera::pdf
