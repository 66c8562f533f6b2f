#pragma once
// The page selections of hand-made outputs on the command line, in the form
// users know from qpdf and pdftk, with text queries added:
//
//   SELECTION := ITEM ("," ITEM)*
//   ITEM      := PAGES (":odd" | ":even")*         1-based pages; "z" is the last page,
//                                                  "r1" the last, "r2" the one before...;
//                                                  "9-5" runs backwards
//              | "/TEXT/"                          every page whose text matches
//              | "/TEXT/1"                         the first page whose text matches
//              | "/FIRST/../LAST/"                 ranges from a page matching FIRST
//                                                  to the next page matching LAST
//              | "/FIRST/..</LAST/"                the same, without the LAST page
//              | "@" KIND ("+" KIND)*              every page holding all the kinds of
//                                                  content named (image, link, uri...)
//              | ITEM ":mark/TEXT/"                the item's pages with the watermark TEXT
//
// ":odd" and ":even" keep the odd or even page numbers of the range. Inside a
// text, "\/" stands for "/". The flags and area of `query` apply to every text.
#include <string_view>
#include <vector>

#include "model/PageRange.h"
#include "model/TextQuery.h"
#include "strings/Result.h"

namespace tessera {

// The ranges of one selection, or a message that points at the column where
// it went wrong.
Result<std::vector<PageRange>> ParseSelection(std::string_view text, int pageCount, const TextQuery& query);

}  // namespace tessera
