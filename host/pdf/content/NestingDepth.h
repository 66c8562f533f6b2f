#pragma once
// How deep the objects of a page nest. qpdf copies a page into another
// document by recursing once per level of nesting, and a file that nests
// forms thousands of levels deep overflows the stack there: such a page is
// refused before it is copied.
#include <qpdf/QPDFObjectHandle.hh>

#include <set>

namespace tessera::pdf {

// The levels beyond which a page is refused: far more than any real file
// nests, and far less than what overflows the stack.
constexpr std::size_t kDeepestNesting = 10'000;

// Whether an object reachable from `page`, without crossing into another
// page, lies more than `limit` arrays, dictionaries and streams deep.
// Indirect objects in `seen` were measured with an earlier page of the same
// document and are not walked again.
bool NestsTooDeep(const QPDFObjectHandle& page, std::set<QPDFObjGen>& seen, std::size_t limit = kDeepestNesting);

}  // namespace tessera::pdf
