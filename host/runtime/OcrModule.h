#pragma once
// Text recognition is a module of its own (TesseraOcr.so, over Tesseract),
// loaded when a page is first read by OCR. Tesseract runs parts of a page on
// OpenMP threads, which on two cores beside the worker processes spent more
// time waiting for each other than reading (a page took 2 s of which 1.2 s
// in the kernel, against 0.4 s on one thread). OpenMP reads its thread limit
// from the environment once, as it loads, so the limit is set just before:
// one thread, unless the user's environment already says otherwise.
#include "pdf/pixels/OcrEngine.h"

namespace tessera::app {

inline constexpr const char* kOcrModule = "TesseraOcr.so";

class OcrModule : public pdf::OcrLibrary {
public:
    // HostError when the module cannot be loaded, with the reason.
    std::unique_ptr<pdf::OcrEngine> Start(const std::string& languages) override;
    const std::vector<std::string>& InstalledLanguages() override;

private:
    pdf::OcrLibrary& Loaded();
    pdf::OcrLibrary* library_ = nullptr;  // the module's; it is never unloaded
};

}  // namespace tessera::app
