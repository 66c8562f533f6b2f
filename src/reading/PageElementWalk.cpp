#include "reading/PageElementWalk.h"

#include <vector>

#include "access/Host.h"

namespace tessera {

// An explicit stack: marked content can nest as deep as a file likes.
bool WalkPageElements(host::ElementRef list, const ElementVisitor& visit) {
    host::PageElementServices& elements = *Host().elements;
    struct Frame {
        host::ElementRef list;
        int next;
        int count;
    };
    std::vector<Frame> stack{{list, 0, elements.ElementCount(list)}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next >= frame.count) {
            stack.pop_back();
            continue;
        }
        const host::ElementRef element = elements.Element(frame.list, frame.next++);
        if (element.IsNull()) continue;
        const host::PageElementKind type = elements.Type(element);
        if (type == host::PageElementKind::Container)
            stack.push_back({element, 0, elements.ElementCount(element)});
        else if (!visit(element, type))
            stack.pop_back();
    }
    return true;
}

}  // namespace tessera
