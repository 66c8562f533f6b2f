#include "pdf/text/MupdfPageTable.h"

namespace tessera::pdf {

bool LoadPageTable(fz_context* ctx, pdf_document* doc) {
    if (!kPageTableAvailable) return false;
    int ok = 1;
    fz_try(ctx) { pdf_load_page_tree(ctx, doc); }
    fz_catch(ctx) { ok = 0; }
    return ok != 0;
}

bool ReturnTableReference(fz_context* ctx, pdf_document* doc, pdf_obj* page) {
    if (!doc->fwd_page_map || pdf_is_indirect(ctx, page)) return false;
    pdf_drop_obj(ctx, page);  // the document's cache still holds it
    return true;
}

pdf_obj* LookUpPage(fz_context* ctx, pdf_document* doc, int index) {
    pdf_obj* page = pdf_lookup_page_obj(ctx, doc, index);
    ReturnTableReference(ctx, doc, page);
    return page;
}

}  // namespace tessera::pdf
