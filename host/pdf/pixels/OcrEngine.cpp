#include "pdf/pixels/OcrEngine.h"

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <cstdlib>
#include <sstream>

#include "host/HostError.h"

namespace tessera::pdf {
namespace {

// Tesseract's threads are started when it first runs: the limit must be in
// the environment before that.
void OneThreadEach() {
    static const bool set = [] { return ::setenv("OMP_THREAD_LIMIT", "1", 0) == 0; }();
    static_cast<void>(set);
}

std::vector<std::string> Split(const std::string& languages) {
    std::vector<std::string> out;
    std::istringstream in(languages);
    for (std::string language; std::getline(in, language, '+');)
        if (!language.empty()) out.push_back(language);
    return out;
}

}  // namespace

std::vector<std::string> InstalledOcrLanguages() {
    OneThreadEach();
    tesseract::TessBaseAPI api;
    // Init with no language loads nothing but finds the data folder.
    if (api.Init(nullptr, "osd") != 0 && api.Init(nullptr, "eng") != 0) return {};
    std::vector<std::string> languages;
    api.GetAvailableLanguagesAsVector(&languages);
    return languages;
}

OcrEngine::OcrEngine(const std::string& languages) : languages_(languages), api_(new tesseract::TessBaseAPI) {
    OneThreadEach();
    static const std::vector<std::string> installed = InstalledOcrLanguages();
    for (const std::string& language : Split(languages)) {
        bool found = false;
        for (const std::string& have : installed) found |= have == language;
        if (!found)
            throw host::HostError(host::kErrorBadArgument,
                                  "the text recognizer has no data for the language \"" + language +
                                      "\": install the Debian package tesseract-ocr-" + language);
    }
    if (Split(languages).empty() || api_->Init(nullptr, languages.c_str(), tesseract::OEM_LSTM_ONLY) != 0)
        throw host::HostError(host::kErrorBadArgument, "the text recognizer could not start for \"" + languages + "\"");
}

OcrEngine::~OcrEngine() {
    if (api_) api_->End();
}

std::vector<OcrWord> OcrEngine::Read(const unsigned char* pixels, int width, int height, int stride, int dpi) {
    api_->SetImage(pixels, width, height, 1, stride);
    api_->SetSourceResolution(dpi);
    std::vector<OcrWord> words;
    if (api_->Recognize(nullptr) != 0) return words;
    std::unique_ptr<tesseract::ResultIterator> it(api_->GetIterator());
    if (!it) return words;
    do {
        const std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_WORD));
        if (!text || !*text.get()) continue;
        OcrWord word;
        word.text = text.get();
        it->BoundingBox(tesseract::RIL_WORD, &word.left, &word.top, &word.right, &word.bottom);
        word.confidence = it->Confidence(tesseract::RIL_WORD);
        words.push_back(std::move(word));
    } while (it->Next(tesseract::RIL_WORD));
    api_->Clear();
    return words;
}

}  // namespace tessera::pdf
