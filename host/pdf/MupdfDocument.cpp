#include "pdf/MupdfDocument.h"

#include <mupdf/fitz.h>

#include <cstring>

#include "shell/host/HostError.h"

namespace tessera::pdf {
namespace {

void CountWarning(void* user, const char*) { ++*static_cast<int*>(user); }
void IgnoreError(void*, const char*) {}

// The C-style calls: no C++ object with a destructor lives across fz_try.
bool OpenDocument(fz_context* ctx, const char* path, const char* password, fz_document** out, char* error,
                  std::size_t size) {
    fz_document* doc = nullptr;
    int ok = 1;
    fz_var(doc);
    fz_try(ctx) {
        doc = fz_open_document(ctx, path);
        if (fz_needs_password(ctx, doc) && !fz_authenticate_password(ctx, doc, password))
            fz_throw(ctx, FZ_ERROR_GENERIC, "invalid password");
    }
    fz_catch(ctx) {
        std::snprintf(error, size, "%s", fz_caught_message(ctx));
        fz_drop_document(ctx, doc);
        doc = nullptr;
        ok = 0;
    }
    *out = doc;
    return ok != 0;
}

fz_stext_page* LoadText(fz_context* ctx, fz_document* doc, int number, char* error, std::size_t size) {
    fz_page* page = nullptr;
    fz_stext_page* text = nullptr;
    fz_var(page);
    fz_var(text);
    fz_try(ctx) {
        page = fz_load_page(ctx, doc, number);
        fz_stext_options options{};
        text = fz_new_stext_page_from_page(ctx, page, &options);
    }
    fz_always(ctx) { fz_drop_page(ctx, page); }
    fz_catch(ctx) {
        std::snprintf(error, size, "%s", fz_caught_message(ctx));
        text = nullptr;
    }
    return text;
}

}  // namespace

MupdfDocument::MupdfDocument(const std::string& path, const std::string& password) {
    context_ = fz_new_context(nullptr, nullptr, FZ_STORE_DEFAULT);
    if (!context_) throw host::HostError(host::kErrorGeneral, "the text reader could not start");
    fz_set_warning_callback(context_, &CountWarning, &warnings_);
    fz_set_error_callback(context_, &IgnoreError, nullptr);
    fz_register_document_handlers(context_);
    char error[256] = "";
    if (!OpenDocument(context_, path.c_str(), password.c_str(), &document_, error, sizeof error)) {
        fz_drop_context(context_);
        throw host::HostError(host::kErrorDamaged, "cannot read the text of " + path + ": " + error);
    }
}

MupdfDocument::~MupdfDocument() {
    fz_drop_document(context_, document_);
    fz_drop_context(context_);
}

void MupdfDocument::TextDeleter::operator()(fz_stext_page* page) const { fz_drop_stext_page(context, page); }

MupdfDocument::Text MupdfDocument::PageText(int page) {
    char error[256] = "";
    fz_stext_page* text = LoadText(context_, document_, page, error, sizeof error);
    if (!text)
        throw host::HostError(host::kErrorDamaged,
                              "cannot read the text of page " + std::to_string(page + 1) + ": " + error);
    return Text(text, TextDeleter{context_});
}

}  // namespace tessera::pdf
