#pragma once
// One document opened with MuPDF: its pages and their text (its pixels are
// drawn by pdf/pixels/PagePixels over it). MuPDF reports errors with
// setjmp/longjmp, so its calls stay inside this class's small C-style
// functions and come out as HostError; its warnings are counted, not printed.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

namespace tessera::pdf {

class MupdfDocument {
public:
    // Opens the file as PDF whatever its name says: MuPDF would otherwise pick
    // its reader by the file's extension. HostError when the file cannot be
    // opened or the password does not fit. The document has a context of its
    // own, so that documents in different threads share nothing.
    MupdfDocument(const std::string& path, const std::string& password);
    // Opens an unencrypted PDF held in memory.
    explicit MupdfDocument(std::string bytes);
    ~MupdfDocument();
    MupdfDocument(const MupdfDocument&) = delete;
    MupdfDocument& operator=(const MupdfDocument&) = delete;

    // The object behind each page as MuPDF counts them, up to the first page
    // its page tree cannot lead to.
    struct ObjectId {
        int number = 0, generation = 0;
        auto operator<=>(const ObjectId&) const = default;
    };
    std::vector<ObjectId> PageObjects();
    // Makes MuPDF find its pages by /Kids, as qpdf does, rather than by the
    // /Count of the page tree's nodes, which may lie. Changes nothing on file.
    void RecountPageTree();
    // The page objects met walking the page tree by /Kids, as qpdf walks it;
    // none unless the tree is plain: a file neither reader has to mend, whose
    // every node and page is an object of its own, met once. Only there do
    // both readers surely see the same pages.
    std::optional<std::vector<ObjectId>> PlainPageTree();

    // The structured text of MuPDF's 0-based page index, and the page object
    // the index led to (0 when none); HostError naming shownPage when it
    // cannot be read. Characters MuPDF cannot name are named from the glyph
    // names of their fonts where those say what they are.
    struct TextDeleter {
        fz_context* context;
        void operator()(fz_stext_page* page) const;
    };
    using Text = std::unique_ptr<fz_stext_page, TextDeleter>;
    Text PageText(int index, int shownPage, ObjectId& page);
    int Warnings() const { return warnings_.count; }

    struct WarningLog {
        int count = 0;
        std::string last;
    };
    const WarningLog& Log() const { return warnings_; }

    // MuPDF's own handles, for the readers that draw this document's pages
    // (pdf/pixels/PagePixels); their calls stay in setjmp-safe functions too.
    fz_context* Context() const { return context_; }
    pdf_document* Document() const { return document_; }
    // Names a page loaded at index through the page table as the walk named it.
    void Identify(int index, ObjectId& page) const;

private:
    void StartContext();
    void MapPageTree();
    std::string bytes_;  // the document itself when it was opened from memory
    fz_context* context_ = nullptr;
    pdf_document* document_ = nullptr;
    bool pageMap_ = false;          // pdf_load_page_tree succeeded: pdf_drop_page_tree is owed
    std::vector<ObjectId> mapped_;  // with the table, the pages as the walk by /Kids met them
    WarningLog warnings_;
};

}  // namespace tessera::pdf
