#include "pdf/content/SaveDepth.h"

#include <qpdf/QPDFPageObjectHelper.hh>

#include <algorithm>

#include "pdf/content/WholeContentParse.h"

namespace tessera::pdf {
namespace {

class DepthCounter : public QPDFObjectHandle::ParserCallbacks {
public:
    void handleObject(QPDFObjectHandle object) override {
        if (!object.isOperator()) return;
        const std::string op = object.getOperatorValue();
        if (op == "q")
            ++depth.end;
        else if (op == "Q")
            depth.lowest = std::min(depth.lowest, --depth.end);
        else if (op == "BT")
            depth.endsInText = true;
        else if (op == "ET")
            depth.endsInText = false;
    }
    void handleEOF() override {}

    SaveDepth depth;
};

}  // namespace

SaveDepth MeasureSaveDepth(QPDFObjectHandle page) {
    DepthCounter counter;
    ParseWholly(page, [&] { QPDFPageObjectHelper(page).parseContents(&counter); });
    return counter.depth;
}

}  // namespace tessera::pdf
