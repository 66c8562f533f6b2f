#pragma once
// The values of every page of a document, as a split where a value changes
// compares them, read in chunks spread over the host's worker processes.
#include <optional>
#include <string>
#include <vector>

#include "access/DocumentHandle.h"
#include "model/SplitSettings.h"

namespace tessera {

using PageKeys = std::vector<std::optional<std::string>>;

// One value per page (none for a page without one, or whose value cannot be
// read); none at all when the pattern does not compile or there is no word
// finder. Up to `workers` processes read the pages, with the same values.
// Text is read by OCR as `ocr` says; `ocrConfidence`, when given, gets per
// page the least confidence of the words its value was read by OCR with,
// or -1 for a value not read by OCR.
std::optional<PageKeys> ReadPageKeys(const DocumentHandle& document, ChangeKeyKind kind, const TextQuery& query,
                                     const OcrSettings& ocr, unsigned workers = 1,
                                     std::vector<int>* ocrConfidence = nullptr);

// The same for the codes of the kinds (host::CodeKind bits) pages show: each
// value is the first code (matching the query's pattern when it has one)
// followed by the pattern's groups, each after a kGroupMark.
inline constexpr char kGroupMark = '\x1f';
// Pages are sheets by PageKeyReader's rule, `anywhere` as it takes it.
std::optional<PageKeys> ReadPageCodes(const DocumentHandle& document, const TextQuery& query, unsigned kinds,
                                      bool anywhere, unsigned workers = 1);

}  // namespace tessera
