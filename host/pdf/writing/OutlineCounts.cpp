#include "pdf/writing/OutlineCounts.h"

#include <set>
#include <vector>

namespace tessera::pdf {
namespace {

struct Node {
    QPDFObjectHandle item;
    std::vector<std::size_t> children;
};

// Every item before the items below it.
std::vector<Node> Walk(QPDFObjectHandle root) {
    std::vector<Node> nodes{{root, {}}};
    std::set<QPDFObjGen> seen;
    if (root.isIndirect()) seen.insert(root.getObjGen());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        for (QPDFObjectHandle child = nodes[i].item.getKey("/First");
             child.isDictionary() && child.isIndirect() && seen.insert(child.getObjGen()).second;
             child = child.getKey("/Next")) {
            nodes[i].children.push_back(nodes.size());
            nodes.push_back({child, {}});
        }
    }
    return nodes;
}

bool IsOpen(QPDFObjectHandle item) {
    QPDFObjectHandle count = item.getKey("/Count");
    return count.isInteger() && count.getIntValue() > 0;
}

}  // namespace

void RecountOutline(QPDF& q) {
    QPDFObjectHandle root = q.getRoot().getKey("/Outlines");
    if (!root.isDictionary()) return;
    std::vector<Node> nodes = Walk(root);
    std::vector<long long> visible(nodes.size(), 0);
    for (std::size_t i = nodes.size(); i-- > 0;) {
        for (std::size_t child : nodes[i].children) visible[i] += 1 + (IsOpen(nodes[child].item) ? visible[child] : 0);
        QPDFObjectHandle item = nodes[i].item;
        if (visible[i] == 0)
            item.removeKey("/Count");
        else
            item.replaceKey("/Count", QPDFObjectHandle::newInteger(i == 0 || IsOpen(item) ? visible[i] : -visible[i]));
    }
}

}  // namespace tessera::pdf
