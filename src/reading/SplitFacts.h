#pragma once
// What the settings check needs of the document to split, read from it, with
// the search's own verdict on patterns.
#include "access/DocumentHandle.h"
#include "model/SettingsCheck.h"

namespace tessera {

// Whether there is a document and it has bookmarks; patterns are judged as
// the search compiles them. Over no document, only the patterns are judged.
DocumentFacts ReadSplitFacts(const DocumentHandle& document);

// Why the query's pattern would not compile for the search; none when it does.
std::optional<PatternFault> SearchPatternFault(const TextQuery& query);

}  // namespace tessera
