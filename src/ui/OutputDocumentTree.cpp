#include "ui/OutputDocumentTree.h"

#include <algorithm>

#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"
#include "ui/RangeDescription.h"

namespace tessera {

// The span as given, not the pages its parity leaves: a range of odd pages
// that holds none still lies inside the document.
void OutputDocumentTree::Clear() {
    documents_.clear();
    counter_ = 1;
}

std::string OutputDocumentTree::NextAutomaticLabel() const {
    return FormatText(LookupString("IDS_DOCUMENT_D"), {std::int64_t{counter_}});
}

TreePath OutputDocumentTree::AddDocument(const std::string& name) {
    Document document;
    document.customName = !name.empty();
    document.label = document.customName ? name : NextAutomaticLabel();
    if (!document.customName) TakeAutomaticLabel();
    documents_.push_back(std::move(document));
    return {static_cast<int>(documents_.size() - 1)};
}

TreePath OutputDocumentTree::AddRange(std::size_t doc, PageRange range, int pageCount) {
    Document& document = documents_.at(doc);
    const bool outside = pageCount > 0 && RangeOutsideDocument(range, pageCount);
    document.ranges.push_back({std::move(range), outside ? kRangeOutsideIcon : kRangeInsideIcon});
    document.expanded = true;
    return {static_cast<int>(doc), static_cast<int>(document.ranges.size() - 1)};
}

void OutputDocumentTree::RemoveDocument(std::size_t doc) {
    documents_.erase(documents_.begin() + static_cast<std::ptrdiff_t>(doc));
}

void OutputDocumentTree::RemoveRange(std::size_t doc, std::size_t range) {
    auto& ranges = documents_.at(doc).ranges;
    ranges.erase(ranges.begin() + static_cast<std::ptrdiff_t>(range));
}

OutputList OutputDocumentTree::ToList() const {
    OutputList outputs;
    for (const Document& document : documents_) {
        if (document.ranges.empty()) continue;
        OutputDocument output;
        if (document.customName) output.Filename = document.label;
        for (const Range& range : document.ranges) output.Ranges.push_back(range.record);
        outputs.push_back(std::move(output));
    }
    return outputs;
}

TreePath OutputDocumentTree::AddList(const OutputList& outputs, int pageCount) {
    TreePath last;
    for (const OutputDocument& output : outputs) {
        last = AddDocument(output.Filename);
        const std::size_t doc = static_cast<std::size_t>(last.front());
        for (const PageRange& range : output.Ranges) last = AddRange(doc, range, pageCount);
    }
    return last;
}

std::size_t OutputDocumentTree::ItemCount() const {
    std::size_t count = documents_.size();
    for (const Document& document : documents_) count += document.ranges.size();
    return count;
}

std::vector<TreeNode> OutputDocumentTree::Nodes() const {
    std::vector<TreeNode> nodes;
    for (const Document& document : documents_) {
        TreeNode node{document.label, kDocumentIcon, document.expanded, {}};
        for (const Range& range : document.ranges)
            node.children.push_back({DescribePageRange(range.record), range.icon, false, {}});
        nodes.push_back(std::move(node));
    }
    return nodes;
}

}  // namespace tessera
