#pragma once
// The words text recognition read, kept for the process: a page is read for
// the whole page once per document, languages and resolution, whatever
// feature asks for it (a scan, the names, a query, a text layer), and an
// area once per the same and its edges. One document is kept at a time, so
// a batch does not grow it file by file.
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "host/PagePixelServices.h"

namespace tessera::pdf {

class OcrWordMemo {
public:
    // The words kept for the ask: the whole page's serve an area too.
    const std::vector<host::PageWord>* Find(host::DocId doc, const host::OcrAsk& ask, int page) const;
    void Keep(host::DocId doc, const host::OcrAsk& ask, int page, std::vector<host::PageWord> words);

private:
    using AreaKey = std::tuple<int, double, double, double, double>;
    std::string KeyOf(host::DocId doc, const host::OcrAsk& ask) const;

    std::string key_;
    std::map<int, std::vector<host::PageWord>> pages_;
    std::map<AreaKey, std::vector<host::PageWord>> areas_;
};

}  // namespace tessera::pdf
