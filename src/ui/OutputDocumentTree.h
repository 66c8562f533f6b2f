#pragma once
// The settings dialog's two-level list of hand-made outputs: documents with
// their label and whether the user named them, and under each its page
// ranges. The window shows it through Nodes().
#include <cstddef>
#include <string>
#include <vector>

#include "model/OutputDocument.h"
#include "ui/DialogView.h"

namespace tessera {

inline constexpr Picture kDocumentIcon = Picture::OutputDocument, kRangeInsideIcon = Picture::RangeInside,
                         kRangeOutsideIcon = Picture::RangeOutside;

class OutputDocumentTree {
public:
    struct Range {
        PageRange record;
        Picture icon = kRangeInsideIcon;  // decided when added, kept when the range is edited
    };
    struct Document {
        std::string label;
        bool customName = false;
        bool expanded = false;
        std::vector<Range> ranges;
    };

    // Empties the tree; automatic labels count from 1 again.
    void Clear();
    // A document named `name`, or automatically when empty; returns its path.
    TreePath AddDocument(const std::string& name);
    // Adds under document `doc`; `pageCount` 0 when no document is known.
    TreePath AddRange(std::size_t doc, PageRange range, int pageCount);
    void RemoveDocument(std::size_t doc);
    void RemoveRange(std::size_t doc, std::size_t range);

    // The label an automatic name gets next, and taking it.
    std::string NextAutomaticLabel() const;
    void TakeAutomaticLabel() { ++counter_; }

    // Documents in order with their ranges; documents without ranges are left out.
    OutputList ToList() const;
    // Adds every output and its ranges; the path of the last item added (the
    // last range, or a last document without any), empty when none was.
    TreePath AddList(const OutputList& outputs, int pageCount);

    // Documents and ranges counted together.
    std::size_t ItemCount() const;
    std::vector<TreeNode> Nodes() const;

    std::vector<Document>& Documents() { return documents_; }
    const std::vector<Document>& Documents() const { return documents_; }

private:
    std::vector<Document> documents_;
    int counter_ = 1;
};

}  // namespace tessera
