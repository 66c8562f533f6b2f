#pragma once
// What one planned output gives a name template's fields: its number and
// pages, its first page's label and the groups of the name pattern's first
// match on that page, its own name (a bookmark's title), the input's name and
// the run's date.
#include <ctime>
#include <string>

#include "access/DocumentHandle.h"
#include "model/NameTemplate.h"
#include "model/OutputDocument.h"
#include "reading/PageKeyReader.h"
#include "reading/PageTextExtractor.h"
#include "reading/SearchPattern.h"

namespace tessera {

struct TemplateSource {
    const DocumentHandle& document;
    std::string inputName;  // without folder or extension
    std::tm today;
    std::size_t total = 0;  // outputs in the run
    // The name pattern, compiled; none compiled: no groups.
    const SearchPattern& pattern;
    PageTextExtractor& extractor;
    // A split where a value changes: the value of the output's first page is
    // {key}, and its pattern's groups are {1}... unless the name pattern has
    // some.
    PageKeyReader* keys = nullptr;
    // A split by size, whose outputs are the parts of the one document: each
    // is {part} of {parts}.
    bool outputsAreParts = false;
};

// The fields of output number index (0-based). Never throws: a page whose
// label or text cannot be read leaves its fields empty.
NameFieldValues TemplateFields(const OutputDocument& output, std::size_t index, TemplateSource& source);

}  // namespace tessera
