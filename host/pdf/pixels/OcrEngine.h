#pragma once
// Text read from a page's pixels by Tesseract. One engine reads one page at
// a time on the caller's thread: Tesseract's own threads are held to one
// (OMP_THREAD_LIMIT), as its advice for many pages is, since the pages
// themselves are spread over the worker processes.
#include <memory>
#include <string>
#include <vector>

namespace tesseract {
class TessBaseAPI;
}

namespace tessera::pdf {

struct OcrWord {
    std::string text;                              // UTF-8
    int left = 0, top = 0, right = 0, bottom = 0;  // pixels of the image read
    float confidence = 0;                          // 0 to 100
};

class OcrEngine {
public:
    // Starts Tesseract with the languages ("eng+deu"); HostError naming the
    // Debian package of a language whose data is not installed.
    explicit OcrEngine(const std::string& languages);
    ~OcrEngine();
    OcrEngine(const OcrEngine&) = delete;
    OcrEngine& operator=(const OcrEngine&) = delete;

    const std::string& Languages() const { return languages_; }
    // The words of an 8-bit grey image (`stride` bytes per row) at `dpi`,
    // in reading order.
    std::vector<OcrWord> Read(const unsigned char* pixels, int width, int height, int stride, int dpi);

private:
    std::string languages_;
    std::unique_ptr<tesseract::TessBaseAPI> api_;
};

// The languages whose data Tesseract finds installed ("eng", "deu"...).
std::vector<std::string> InstalledOcrLanguages();

}  // namespace tessera::pdf
