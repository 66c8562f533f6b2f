#include "pdf/content/ContentTree.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <set>
#include <string>

#include "host/HostError.h"
#include "pdf/content/ImageDataLength.h"
#include "pdf/content/WholeContentParse.h"

namespace tessera::pdf {
namespace {

// A reference to an object the file does not hold: in a file that had to be
// mended, what was lost in the mending, which must not pass for nothing drawn.
bool IsMissing(QPDFObjectHandle object) { return object.isIndirect() && object.isNull(); }

[[noreturn]] void MissingObject() {
    throw host::HostError(host::kErrorDamaged, "the page's content refers to objects missing from the file");
}

void RefuseMissingContents(QPDFObjectHandle page) {
    QPDFObjectHandle contents = page.getKey("/Contents");
    if (IsMissing(contents) || IsMissing(QPDFPageObjectHelper(page).getAttribute("/Resources", false))) MissingObject();
    if (contents.isArray())
        for (const QPDFObjectHandle& stream : contents.aitems())
            if (IsMissing(stream)) MissingObject();
}

const std::set<std::string> kPaintingOperators = {"S", "s", "f", "F", "f*", "B", "B*", "b", "b*"};
const std::set<std::string> kTextShowingOperators = {"Tj", "TJ", "'", "\""};

// Turns the operators of a content stream into elements. Text objects
// become one element when they show text; a path only when it is painted
// (a clip alone draws nothing); marked content becomes a container, except
// inside a text object, where it only has to balance. Viewers show text
// wherever a showing operator runs, so text shown outside BT..ET counts, and
// a text object that a second BT or the end of the stream cuts off counts as
// closed there.
class TreeBuilder : public QPDFObjectHandle::ParserCallbacks {
public:
    TreeBuilder(ContentTree& tree, const QPDFObjectHandle& resources, bool firstMarkOnly)
        : tree_(tree), resources_(resources), firstMarkOnly_(firstMarkOnly) {}

    void handleObject(QPDFObjectHandle object) override {
        if (!object.isOperator()) {
            operands_.push_back(object);
            return;
        }
        Operator(object.getOperatorValue());
        operands_.clear();
    }
    void handleEOF() override { EndText(); }

private:
    std::uint32_t Current() const { return open_.back(); }
    void Add(host::PageElementKind type) {
        tree_.Add(Current(), ContentNode{type, {}, {}});
        if (firstMarkOnly_) terminateParsing();
    }
    void Operator(const std::string& op);
    void BeginText();
    void EndText();
    void ShowText();
    void BeginMarked();
    void EndMarked();
    void Draw(QPDFObjectHandle name);
    void AddImage(QPDFObjectHandle image);
    void AddInlineImage();

    ContentTree& tree_;
    QPDFObjectHandle resources_;
    bool firstMarkOnly_;
    std::vector<QPDFObjectHandle> operands_;
    std::vector<std::uint32_t> open_{0};
    bool inText_ = false, textShown_ = false;
    std::uint32_t textList_ = 0;
    int markedInText_ = 0;
};

void TreeBuilder::Operator(const std::string& op) {
    if (op == "BT") {
        BeginText();
    } else if (op == "ET") {
        EndText();
    } else if (kTextShowingOperators.count(op)) {
        ShowText();
    } else if (op == "BMC" || op == "BDC") {
        BeginMarked();
    } else if (op == "EMC") {
        EndMarked();
    } else if (kPaintingOperators.count(op)) {
        Add(host::PageElementKind::Path);
    } else if (op == "sh") {
        Add(host::PageElementKind::Shading);
    } else if (op == "Do" && !operands_.empty()) {
        Draw(operands_.back());
    } else if (op == "EI") {
        AddInlineImage();
    } else if (op == "PS") {
        Add(host::PageElementKind::PostScript);
    }
}

void TreeBuilder::BeginText() {
    EndText();
    inText_ = true;
    textList_ = Current();
}

void TreeBuilder::EndText() {
    if (inText_ && textShown_) tree_.Add(textList_, ContentNode{host::PageElementKind::Text, {}, {}});
    inText_ = false;
    textShown_ = false;
    markedInText_ = 0;
}

void TreeBuilder::ShowText() {
    if (!inText_) return Add(host::PageElementKind::Text);
    textShown_ = true;
    if (!firstMarkOnly_) return;
    EndText();  // the end of parsing is not the end of the stream: nothing closes the text object
    terminateParsing();
}

void TreeBuilder::BeginMarked() {
    if (inText_) {
        ++markedInText_;
        return;
    }
    open_.push_back(tree_.Add(Current(), ContentNode{}));
}

void TreeBuilder::EndMarked() {
    if (inText_ && markedInText_ > 0)
        --markedInText_;
    else if (open_.size() > 1)
        open_.pop_back();
}

void TreeBuilder::Draw(QPDFObjectHandle name) {
    QPDFObjectHandle xobjects = resources_.isDictionary() ? resources_.getKey("/XObject") : resources_;
    if (IsMissing(xobjects)) MissingObject();
    if (!name.isName() || !xobjects.isDictionary()) return;
    QPDFObjectHandle xobject = xobjects.getKey(name.getName());
    if (IsMissing(xobject)) MissingObject();
    if (!xobject.isStream()) return;  // nothing is drawn
    QPDFObjectHandle dict = xobject.getDict();
    QPDFObjectHandle subtype = dict.getKey("/Subtype");
    if (subtype.isNameAndEquals("/Image"))
        AddImage(xobject);
    else if (subtype.isNameAndEquals("/PS") || dict.getKey("/Subtype2").isNameAndEquals("/PS"))
        Add(host::PageElementKind::PostScript);
    else if (subtype.isNameAndEquals("/Form"))
        Add(host::PageElementKind::Form);
}

void TreeBuilder::AddImage(QPDFObjectHandle image) {
    QPDFObjectHandle dict = image.getDict();
    ContentNode node{host::PageElementKind::Image, {}, {}};
    node.image.isStoredObject = true;
    node.image.objectType = host::kObjectTypeStream;
    QPDFObjectHandle length = dict.getKey("/Length");
    node.image.storedLength =
        length.isInteger() ? length.getIntValue() : static_cast<std::int64_t>(image.getRawStreamData()->getSize());
    node.image.dataLength = XObjectImageDataLength(image, resources_, node.image.storedLength);
    tree_.Add(Current(), node);
}

void TreeBuilder::AddInlineImage() {
    ContentNode node{host::PageElementKind::Image, {}, {}};
    if (!operands_.empty() && operands_.back().isInlineImage())
        node.image.storedLength = static_cast<std::int64_t>(operands_.back().getInlineImageValue().size());
    tree_.Add(Current(), node);
}

}  // namespace

std::uint32_t ContentTree::Add(std::uint32_t parent, ContentNode node) {
    const auto index = static_cast<std::uint32_t>(nodes_.size());
    nodes_.push_back(std::move(node));
    nodes_.at(parent).children.push_back(index);
    return index;
}

ContentTree ContentTree::OfPage(QPDFObjectHandle page, bool firstMarkOnly) {
    ContentTree tree;
    ParseWholly(page, [&] {
        RefuseMissingContents(page);
        TreeBuilder builder(tree, QPDFPageObjectHelper(page).getAttribute("/Resources", false), firstMarkOnly);
        QPDFPageObjectHelper(page).parseContents(&builder);
    });
    return tree;
}

}  // namespace tessera::pdf
