#pragma once
// The four controls that edit one text query's pattern and how it matches,
// shared by the dialogs that search pages for text.
#include <vector>

#include "model/TextQuery.h"
#include "ui/Dialog.h"

namespace tessera {

struct TextQueryControls {
    ControlId pattern;
    ControlId regExp;
    ControlId wholeWords;
    ControlId matchCase;

    // Laid out as "Find what:" and its three boxes, inside the group.
    std::vector<ControlSpec> Specs(ControlId group) const;
    std::vector<ControlId> Ids() const { return {pattern, regExp, wholeWords, matchCase}; }
    void Show(DialogView& view, const TextQuery& query) const;
    // Reads the pattern and its three flags into the query; its area stays.
    void Read(const DialogView& view, TextQuery& query) const;
};

}  // namespace tessera
