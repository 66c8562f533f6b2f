// The OCR module's one export and its engine over Tesseract: built only into
// TesseraOcr.so, which the program loads when a page is first read by OCR
// (runtime/OcrModule).
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <sstream>

#include "host/HostError.h"
#include "pdf/pixels/OcrEngine.h"

namespace tessera::pdf {
namespace {

std::vector<std::string> Split(const std::string& languages) {
    std::vector<std::string> out;
    std::istringstream in(languages);
    for (std::string language; std::getline(in, language, '+');)
        if (!language.empty()) out.push_back(language);
    return out;
}

class TesseractEngine : public OcrEngine {
public:
    explicit TesseractEngine(const std::string& languages) : languages_(languages) {
        if (Split(languages).empty() || api_.Init(nullptr, languages.c_str(), tesseract::OEM_LSTM_ONLY) != 0)
            throw host::HostError(host::kErrorBadArgument,
                                  "the text recognizer could not start for \"" + languages + "\"");
    }
    ~TesseractEngine() override { api_.End(); }
    TesseractEngine(const TesseractEngine&) = delete;
    TesseractEngine& operator=(const TesseractEngine&) = delete;

    const std::string& Languages() const override { return languages_; }

    std::vector<OcrWord> Read(const unsigned char* pixels, int width, int height, int stride, int dpi,
                              const OcrRegion* region) override {
        if (region && (region->width <= 0 || region->height <= 0)) return {};
        api_.SetImage(pixels, width, height, 1, stride);
        api_.SetSourceResolution(dpi);
        // Its boxes stay in the whole image's pixels.
        if (region) api_.SetRectangle(region->left, region->top, region->width, region->height);
        std::vector<OcrWord> words;
        if (api_.Recognize(nullptr) == 0)
            if (const std::unique_ptr<tesseract::ResultIterator> it(api_.GetIterator()); it) do {
                    const std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_WORD));
                    if (!text || !*text.get()) continue;
                    OcrWord word;
                    word.text = text.get();
                    it->BoundingBox(tesseract::RIL_WORD, &word.left, &word.top, &word.right, &word.bottom);
                    word.confidence = it->Confidence(tesseract::RIL_WORD);
                    words.push_back(std::move(word));
                } while (it->Next(tesseract::RIL_WORD));
        api_.Clear();
        return words;
    }

private:
    std::string languages_;
    tesseract::TessBaseAPI api_;
};

class TesseractLibrary : public OcrLibrary {
public:
    std::unique_ptr<OcrEngine> Start(const std::string& languages) override {
        for (const std::string& language : Split(languages)) {
            bool found = false;
            for (const std::string& have : InstalledLanguages()) found |= have == language;
            if (!found)
                throw host::HostError(host::kErrorBadArgument,
                                      "the text recognizer has no data for the language \"" + language +
                                          "\": install the Debian package tesseract-ocr-" + language);
        }
        return std::make_unique<TesseractEngine>(languages);
    }

    const std::vector<std::string>& InstalledLanguages() override {
        if (!listed_) {
            listed_ = true;
            tesseract::TessBaseAPI api;
            // Starting with one language finds the data folder, where the others are.
            if (api.Init(nullptr, "osd") == 0 || api.Init(nullptr, "eng") == 0)
                api.GetAvailableLanguagesAsVector(&installed_);
        }
        return installed_;
    }

private:
    bool listed_ = false;
    std::vector<std::string> installed_;
};

}  // namespace
}  // namespace tessera::pdf

extern "C" __attribute__((visibility("default"))) tessera::pdf::OcrLibrary* TesseraOcrLibrary() {
    static tessera::pdf::TesseractLibrary library;
    return &library;
}
