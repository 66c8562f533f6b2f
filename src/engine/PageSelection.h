#pragma once
// The source pages a range puts into an output, as production inserts them.
#include <vector>

#include "model/OutputDocument.h"

namespace tessera {

// The 0-based pages of [StartPage, StartPage + NumPages) that pass the parity
// options, descending with ReverseOrder, cut at the source's last page.
std::vector<int> ChosenPages(const PageRange& range, int sourcePageCount);
// The pages of every range of the output, in output order.
std::vector<int> OutputPages(const OutputDocument& output, int sourcePageCount);

}  // namespace tessera
