#include "pdf/text/MupdfDocument.h"

#include <cstring>
#include <set>
#include <utility>

#include "host/HostError.h"
#include "pdf/text/MupdfGlyphNames.h"
#include "pdf/text/MupdfPageLoad.h"
#include "pdf/text/MupdfPageTable.h"

namespace tessera::pdf {
namespace {

void LogWarning(void* user, const char* message) {
    auto& log = *static_cast<MupdfDocument::WarningLog*>(user);
    ++log.count;
    if (std::strncmp(message, "... repeated", 12) != 0) log.last = message;  // the message itself says more
}
void IgnoreError(void*, const char*) {}

// A page found through MuPDF's page table is the object itself, not a
// reference to it: its number is known, and its generation is the one the walk
// that made the table met (MupdfDocument::Identify).
constexpr int kGenerationFromTable = -1;

// Names the page object MuPDF found for a page index.
void NameObject(fz_context* ctx, pdf_document* doc, pdf_obj* object, int* number, int* generation) {
    const bool fromTable = ReturnTableReference(ctx, doc, object);
    *number = fromTable ? pdf_obj_parent_num(ctx, object) : pdf_to_num(ctx, object);
    *generation = fromTable ? kGenerationFromTable : pdf_to_gen(ctx, object);
}

// The C-style calls: no C++ object with a destructor lives across fz_try.
// path is null when the document comes from memory.
bool OpenDocument(fz_context* ctx, const char* path, const std::string* bytes, const char* password, pdf_document** out,
                  char* error, std::size_t size) {
    pdf_document* doc = nullptr;
    fz_stream* stream = nullptr;
    int ok = 1;
    fz_var(doc);
    fz_var(stream);
    fz_try(ctx) {
        if (path) {
            doc = pdf_open_document(ctx, path);
        } else {
            stream = fz_open_memory(ctx, reinterpret_cast<const unsigned char*>(bytes->data()), bytes->size());
            doc = pdf_open_document_with_stream(ctx, stream);
        }
        if (pdf_needs_password(ctx, doc) && !pdf_authenticate_password(ctx, doc, password))
            fz_throw(ctx, FZ_ERROR_GENERIC, "invalid password");
    }
    fz_always(ctx) { fz_drop_stream(ctx, stream); }
    fz_catch(ctx) {
        std::snprintf(error, size, "%s", fz_caught_message(ctx));
        pdf_drop_document(ctx, doc);
        doc = nullptr;
        ok = 0;
    }
    *out = doc;
    return ok != 0;
}

int CountPages(fz_context* ctx, pdf_document* doc) {
    int count = 0;
    fz_var(count);
    fz_try(ctx) { count = pdf_count_pages(ctx, doc); }
    fz_catch(ctx) { count = 0; }
    return count;
}

// False when the page tree leads nowhere for this index (a /Count that lies).
// Only without a page table: with one, the pages are those of the walk.
bool PageObject(fz_context* ctx, pdf_document* doc, int index, int* number, int* generation) {
    int ok = 1;
    fz_try(ctx) { NameObject(ctx, doc, pdf_lookup_page_obj(ctx, doc, index), number, generation); }
    fz_catch(ctx) { ok = 0; }
    return ok != 0 && *number > 0;
}

// MuPDF finds page N by the /Count of each page tree node, qpdf by walking
// /Kids; a node whose /Count lies makes them disagree. Sets each node's
// /Count, in memory only, to the pages found below it, telling nodes from
// pages as MuPDF's page lookup does. Returns the pages found below node.
int Recount(fz_context* ctx, pdf_obj* node, int depth) {
    constexpr int kMaxDepth = 64;  // within MuPDF's own limit of nested fz_try
    int pages = 0;
    fz_var(pages);
    if (depth > kMaxDepth || pdf_mark_obj(ctx, node)) return 0;  // a loop leads to no page
    fz_try(ctx) {
        pdf_obj* type = pdf_dict_get(ctx, node, PDF_NAME(Type));
        pdf_obj* kids = pdf_dict_get(ctx, node, PDF_NAME(Kids));
        const bool tree =
            type ? pdf_name_eq(ctx, type, PDF_NAME(Pages)) : kids && !pdf_dict_get(ctx, node, PDF_NAME(MediaBox));
        if (!tree) {
            pages = 1;
        } else {
            for (int i = 0; i < pdf_array_len(ctx, kids); ++i)
                pages += Recount(ctx, pdf_array_get(ctx, kids, i), depth + 1);
            pdf_dict_put_int(ctx, node, PDF_NAME(Count), pages);
        }
    }
    fz_always(ctx) { pdf_unmark_obj(ctx, node); }
    fz_catch(ctx) { pages = 0; }
    return pages;
}

void RecountTree(fz_context* ctx, pdf_document* doc) {
    fz_try(ctx) {
        pdf_obj* root = pdf_dict_getp(ctx, pdf_trailer(ctx, doc), "Root/Pages");
        if (root) Recount(ctx, root, 0);
    }
    fz_catch(ctx) {}  // the pages that can be found are checked afterwards
}

// Walks the page tree by /Kids as qpdf does: a kid with /Kids is a node, any
// other kid a page. False, with pages cut short, where the tree is not plain.
bool WalkPlainTree(fz_context* ctx, pdf_document* doc, std::vector<MupdfDocument::ObjectId>& pages, std::set<int>& met,
                   std::vector<std::pair<pdf_obj*, int>>& path) {
    constexpr std::size_t kMaxDepth = 64;
    int plain = 1;
    fz_try(ctx) {
        pdf_obj* root = pdf_dict_getp(ctx, pdf_trailer(ctx, doc), "Root/Pages");
        if (pdf_was_repaired(ctx, doc) || !pdf_is_indirect(ctx, root) ||
            !pdf_is_array(ctx, pdf_dict_get(ctx, root, PDF_NAME(Kids))))
            fz_throw(ctx, FZ_ERROR_GENERIC, "not plain");
        met.insert(pdf_to_num(ctx, root));
        path.emplace_back(root, 0);
        while (!path.empty()) {
            pdf_obj* kids = pdf_dict_get(ctx, path.back().first, PDF_NAME(Kids));
            const int next = path.back().second++;
            if (next >= pdf_array_len(ctx, kids)) {
                path.pop_back();
                continue;
            }
            pdf_obj* kid = pdf_array_get(ctx, kids, next);
            if (!pdf_is_indirect(ctx, kid) || !pdf_is_dict(ctx, kid) || !met.insert(pdf_to_num(ctx, kid)).second)
                fz_throw(ctx, FZ_ERROR_GENERIC, "not plain");
            pdf_obj* grandKids = pdf_dict_get(ctx, kid, PDF_NAME(Kids));
            if (!grandKids) {
                pages.push_back({pdf_to_num(ctx, kid), pdf_to_gen(ctx, kid)});
            } else if (pdf_is_array(ctx, grandKids) && path.size() < kMaxDepth) {
                path.emplace_back(kid, 0);
            } else {
                fz_throw(ctx, FZ_ERROR_GENERIC, "not plain");
            }
        }
    }
    fz_catch(ctx) { plain = 0; }
    return plain != 0;
}

fz_stext_page* LoadText(fz_context* ctx, pdf_document* doc, int number, int* object, int* generation, char* error,
                        std::size_t size) {
    return MadeFromPage<fz_stext_page>(ctx, doc, number, object, generation, error, size, [ctx](fz_page* page) {
        fz_stext_options options{};
        return fz_new_stext_page_from_page(ctx, page, &options);
    });
}

}  // namespace

// Loads page `number` and says which page object it is; throws MuPDF's errors.
fz_page* LoadPageObject(fz_context* ctx, pdf_document* doc, int number, int* object, int* generation) {
    fz_page* page = fz_load_page(ctx, &doc->super, number);
    fz_try(ctx) { NameObject(ctx, doc, pdf_page_from_fz_page(ctx, page)->obj, object, generation); }
    fz_catch(ctx) {
        fz_drop_page(ctx, page);
        fz_rethrow(ctx);
    }
    return page;
}

void MupdfDocument::StartContext() {
    context_ = fz_new_context(nullptr, nullptr, FZ_STORE_DEFAULT);
    if (!context_) throw host::HostError(host::kErrorGeneral, "the text reader could not start");
    fz_set_warning_callback(context_, &LogWarning, &warnings_);
    fz_set_error_callback(context_, &IgnoreError, nullptr);
}

MupdfDocument::MupdfDocument(const std::string& path, const std::string& password) {
    StartContext();
    char error[256] = "";
    if (!OpenDocument(context_, path.c_str(), nullptr, password.c_str(), &document_, error, sizeof error)) {
        fz_drop_context(context_);
        throw host::HostError(host::kErrorDamaged, "cannot read the text of " + path + ": " + error);
    }
    MapPageTree();
}

MupdfDocument::MupdfDocument(std::string bytes) : bytes_(std::move(bytes)) {
    StartContext();
    char error[256] = "";
    if (!OpenDocument(context_, nullptr, &bytes_, "", &document_, error, sizeof error)) {
        fz_drop_context(context_);
        throw host::HostError(host::kErrorDamaged, std::string("cannot read the text of the document: ") + error);
    }
    MapPageTree();
}

MupdfDocument::~MupdfDocument() {
    if (pageMap_) pdf_drop_page_tree(context_, document_);
    pdf_drop_document(context_, document_);
    fz_drop_context(context_);
}

std::vector<MupdfDocument::ObjectId> MupdfDocument::PageObjects() {
    if (pageMap_) return mapped_;
    std::vector<ObjectId> pages;
    const int count = CountPages(context_, document_);
    ObjectId id;
    for (int index = 0; index < count && PageObject(context_, document_, index, &id.number, &id.generation); ++index)
        pages.push_back(id);
    return pages;
}

void MupdfDocument::RecountPageTree() { RecountTree(context_, document_); }

// Without a table, loading a page walks down the tree to it, and each link on
// the page walks the tree again to learn the number of the page it leads to:
// half the time of reading a long manual's text. The table is made only where
// the tree is plain and holds as many pages as its /Count says, so that it
// finds each page where a walk would.
void MupdfDocument::MapPageTree() {
    std::optional<std::vector<ObjectId>> pages = PlainPageTree();
    if (!pages || pages->empty() || static_cast<int>(pages->size()) != CountPages(context_, document_)) return;
    if (!LoadPageTable(context_, document_)) return;
    pageMap_ = true;
    mapped_ = std::move(*pages);
    for (int index = 0; index < static_cast<int>(mapped_.size()); ++index) {
        ObjectId found;
        if (!PageObject(context_, document_, index, &found.number, &found.generation) ||
            found.number != mapped_[static_cast<std::size_t>(index)].number) {
            pdf_drop_page_tree(context_, document_);  // MuPDF's table and the walk disagree: walk then
            pageMap_ = false;
            mapped_.clear();
            return;
        }
    }
}

// A page loaded through the table is named as the walk named it.
void MupdfDocument::Identify(int index, ObjectId& page) const {
    if (page.generation != kGenerationFromTable) return;
    const bool known = index >= 0 && static_cast<std::size_t>(index) < mapped_.size() &&
                       mapped_[static_cast<std::size_t>(index)].number == page.number;
    page = known ? mapped_[static_cast<std::size_t>(index)] : ObjectId{};
}

std::optional<std::vector<MupdfDocument::ObjectId>> MupdfDocument::PlainPageTree() {
    if (pageMap_) return mapped_;  // the walk the table was checked against
    // Declared out here: MuPDF's errors jump past the scope of anything made within.
    std::vector<ObjectId> pages;
    std::set<int> met;
    std::vector<std::pair<pdf_obj*, int>> path;
    if (!WalkPlainTree(context_, document_, pages, met, path)) return std::nullopt;
    return pages;
}

void MupdfDocument::TextDeleter::operator()(fz_stext_page* page) const { fz_drop_stext_page(context, page); }

MupdfDocument::Text MupdfDocument::PageText(int index, int shownPage, ObjectId& page) {
    char error[256] = "";
    fz_stext_page* text = LoadText(context_, document_, index, &page.number, &page.generation, error, sizeof error);
    // Naming glyphs costs a walk over the page's fonts: only pages that need it pay.
    if (text && HasUnnamedCharacters(*text) && NameUnnamedGlyphs(context_, document_, index)) {
        fz_drop_stext_page(context_, text);
        text = LoadText(context_, document_, index, &page.number, &page.generation, error, sizeof error);
    }
    Identify(index, page);
    if (!text)
        throw host::HostError(host::kErrorDamaged,
                              "cannot read the text of page " + std::to_string(shownPage + 1) + ": " + error);
    return Text(text, TextDeleter{context_});
}

}  // namespace tessera::pdf
