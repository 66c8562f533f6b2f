#pragma once
// Loading one page of a MuPDF document and making something of it, for the
// readers of its text and of its pixels alike. MuPDF reports errors with
// setjmp/longjmp: no C++ object with a destructor lives across a fz_try here.
#include <cstdio>

#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

namespace tessera::pdf {

// Loads page `number` and says which page object it is; throws MuPDF's errors.
fz_page* LoadPageObject(fz_context* ctx, pdf_document* doc, int number, int* object, int* generation);

// What make(page) makes of page `number`, and which page object the index
// led to (0 when it led nowhere); null, with MuPDF's error, when loading or
// making fails. make drops what it made before it throws.
template <class Made, class Make>
Made* MadeFromPage(fz_context* ctx, pdf_document* doc, int number, int* object, int* generation, char* error,
                   std::size_t size, Make make) {
    fz_page* page = nullptr;
    Made* made = nullptr;
    fz_var(page);
    fz_var(made);
    *object = *generation = 0;
    fz_try(ctx) {
        page = LoadPageObject(ctx, doc, number, object, generation);
        made = make(page);
    }
    fz_always(ctx) { fz_drop_page(ctx, page); }
    fz_catch(ctx) {
        std::snprintf(error, size, "%s", fz_caught_message(ctx));
        made = nullptr;
    }
    return made;
}

}  // namespace tessera::pdf
