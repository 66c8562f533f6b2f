#pragma once
// One document opened with MuPDF, for its text. MuPDF reports errors with
// setjmp/longjmp, so its calls stay inside this class's small C-style
// functions and come out as HostError; its warnings are counted, not printed.
#include <memory>
#include <string>

#include <mupdf/fitz.h>

namespace tessera::pdf {

class MupdfDocument {
public:
    // HostError when the file cannot be opened or the password does not fit.
    MupdfDocument(const std::string& path, const std::string& password);
    ~MupdfDocument();
    MupdfDocument(const MupdfDocument&) = delete;
    MupdfDocument& operator=(const MupdfDocument&) = delete;

    // The structured text of a 0-based page; HostError when it cannot be read.
    struct TextDeleter {
        fz_context* context;
        void operator()(fz_stext_page* page) const;
    };
    using Text = std::unique_ptr<fz_stext_page, TextDeleter>;
    Text PageText(int page);

    int Warnings() const { return warnings_; }

private:
    fz_context* context_ = nullptr;
    fz_document* document_ = nullptr;
    int warnings_ = 0;
};

}  // namespace tessera::pdf
