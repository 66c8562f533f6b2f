#pragma once
// Rows of comma-separated values as RFC 4180 writes them: a field in double
// quotes may hold commas, line breaks and "" for a quote; rows end at CRLF or
// LF; a last line break is no row.
#include <string>
#include <string_view>
#include <vector>

#include "strings/Result.h"

namespace tessera {

using CsvRow = std::vector<std::string>;

// The rows, or why not, naming the line (from 1) where the text goes wrong.
// `rowLines`, when given, gets the line each row starts on: a quoted field
// may hold line breaks, so rows and lines part.
Result<std::vector<CsvRow>> ParseCsv(std::string_view text, std::vector<int>* rowLines = nullptr);

}  // namespace tessera
