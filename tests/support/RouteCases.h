#pragma once
// Splits as users set them up, one per method and separator kind and the
// combinations where faults have hidden: every route to a split (options, a
// saved profile, a batch over it, the window, the dry run, JSON) must give
// each the same outputs, names, keys and page account.
#include <string>
#include <vector>

namespace tessera::test {

struct RouteCase {
    std::string name;     // what the case is, for a failure's trace
    std::string input;    // a file of tests/data
    std::string options;  // split's options, quoted for the shell
};

inline const std::vector<RouteCase>& RouteCases() {
    static const std::vector<RouteCase> cases = {
        {"pages, a template of numbers and spans", "mnras-guide-2col-rotated-page.pdf",
         "--equal 4 --name '{n:03}-{from}-{to}-{date}'"},
        {"bookmarks, title pages in no output", "hyperref-manual-outline-gotor-launch-named.pdf", "--bookmarks 1"},
        {"blank separators kept", "abntex2-thesis-blank-versos-outline-depth6.pdf",
         "--separator blank --keep-separators"},
        {"code sheets, duplex and kept", "code-separator-sheets.pdf", "--separator code --duplex --keep-separators"},
        {"a code's group names the output", "code-sheet-qr-and-code128.pdf",
         "--separator 'code=^BOX-(\\d+)' --name 'Box-{1}'"},
        {"sheets of one colour", "coloured-sheets-yellow-pastel.pdf", "--separator sheet=yellow"},
        {"a value change names its outputs by key", "mnras-guide-2col-rotated-page.pdf",
         "--separator change=size --name '{key}-{n}'"},
        {"hand-made outputs of several ranges", "mnras-guide-2col-rotated-page.pdf",
         "--doc 'X=1-2,5' --doc 'Y=9-7' --doc '/zqxjv/' --name '{from}-{to}'"},
        {"a size limit with parts in the template", "mnras-guide-2col-rotated-page.pdf",
         "--max-size 200k --name 'P{part}of{parts}'"},
        {"values read by OCR from scans, at their own resolution", "scanned-invoices-payment-qr.pdf",
         "--separator 'change=regex:No\\. ?(\\d+)' --ocr-min-confidence 30 --ocr-lang eng --name 'INV-{key}'"},
        {"text separators on scans without OCR find none", "scanned-invoices-payment-qr.pdf",
         "--separator text=INVOICE --ocr never"},
        {"a size limit cutting bookmark outputs", "hyperref-manual-outline-gotor-launch-named.pdf",
         "--bookmarks 1 --max-size 100k --allow-oversize --suffix number --base Part"},
    };
    return cases;
}

}  // namespace tessera::test
