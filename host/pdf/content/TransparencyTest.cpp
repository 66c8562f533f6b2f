#include <qpdf/QPDFPageObjectHelper.hh>

#include "pdf/content/TransparencyTest.h"

#include <map>
#include <set>
#include <string>
#include <vector>

#include "pdf/content/WholeContentParse.h"

namespace tessera::pdf {
namespace {

// Reading a key of something that is not a dictionary would make qpdf warn.
QPDFObjectHandle Key(QPDFObjectHandle object, const char* key) {
    if (object.isStream()) object = object.getDict();
    return object.isDictionary() ? object.getKey(key) : QPDFObjectHandle::newNull();
}

std::map<std::string, QPDFObjectHandle> Entries(QPDFObjectHandle object) {
    return object.isDictionary() ? object.getDictAsMap() : std::map<std::string, QPDFObjectHandle>();
}

bool IsTransparencyGroup(const QPDFObjectHandle& object) {
    return Key(Key(object, "/Group"), "/S").isNameAndEquals("/Transparency");
}

bool BelowOne(QPDFObjectHandle alpha) { return alpha.isNumber() && alpha.getNumericValue() < 1.0; }

bool IsBlending(QPDFObjectHandle mode) {
    if (mode.isArray() && mode.getArrayNItems() > 0) mode = mode.getArrayItem(0);
    return mode.isName() && mode.getName() != "/Normal" && mode.getName() != "/Compatible";
}

bool IsTransparentState(QPDFObjectHandle state) {
    if (!state.isDictionary()) return false;
    QPDFObjectHandle mask = Key(state, "/SMask");
    return (mask.isDictionary() || mask.isStream()) || BelowOne(Key(state, "/CA")) || BelowOne(Key(state, "/ca")) ||
           IsBlending(Key(state, "/BM"));
}

bool IsTransparentImage(const QPDFObjectHandle& dict) {
    if (!Key(dict, "/Subtype").isNameAndEquals("/Image")) return false;
    if (Key(dict, "/SMask").isStream()) return true;
    QPDFObjectHandle inData = Key(dict, "/SMaskInData");
    return inData.isInteger() && inData.getIntValue() != 0;
}

// The resource names a content stream uses, by resource category.
class UsedNames : public QPDFObjectHandle::ParserCallbacks {
public:
    void handleObject(QPDFObjectHandle object) override {
        if (!object.isOperator()) {
            last_ = object;
            return;
        }
        const std::string op = object.getOperatorValue();
        if (last_.isName()) {
            if (op == "gs")
                used["/ExtGState"].insert(last_.getName());
            else if (op == "Do")
                used["/XObject"].insert(last_.getName());
            else if (op == "scn" || op == "SCN")
                used["/Pattern"].insert(last_.getName());
        }
        last_ = QPDFObjectHandle::newNull();
    }
    void handleEOF() override {}

    std::map<std::string, std::set<std::string>> used;

private:
    QPDFObjectHandle last_ = QPDFObjectHandle::newNull();
};

// Something that draws: the page, or a form, tiling pattern or appearance
// stream, with the resources its names are looked up in.
struct Drawing {
    QPDFObjectHandle content;
    QPDFObjectHandle resources;
};

// Follows what the page's content uses, each object once, so shared or
// looping resources cost nothing twice.
class UsageWalk {
public:
    explicit UsageWalk(const QPDFObjectHandle& page) : page_(page) {}
    void AddDrawn(QPDFObjectHandle object, const QPDFObjectHandle& inherited);
    bool FindsTransparency();

private:
    bool Seen(const QPDFObjectHandle& object) {
        return object.isIndirect() && !seen_.insert(object.getObjGen()).second;
    }
    bool UsesTransparentResource(Drawing drawing);

    QPDFObjectHandle page_;
    std::vector<Drawing> pending_;
    std::set<QPDFObjGen> seen_;
};

// A form or pattern without resources of its own draws with its parent's.
void UsageWalk::AddDrawn(QPDFObjectHandle object, const QPDFObjectHandle& inherited) {
    if (!(object.isStream() || object.isDictionary()) || Seen(object)) return;
    QPDFObjectHandle own = Key(object, "/Resources");
    pending_.push_back({object, own.isDictionary() ? own : inherited});
}

bool UsageWalk::UsesTransparentResource(Drawing drawing) {
    UsedNames names;
    if (drawing.content.isStream())
        ParseWholly(page_, [&] { drawing.content.parseAsContents(&names); });
    else if (drawing.content.isPageObject())
        ParseWholly(page_, [&] { QPDFPageObjectHelper(drawing.content).parseContents(&names); });
    for (const std::string& name : names.used["/ExtGState"])
        if (IsTransparentState(Key(Key(drawing.resources, "/ExtGState"), name.c_str()))) return true;
    for (const char* category : {"/XObject", "/Pattern"})
        for (const std::string& name : names.used[category])
            AddDrawn(Key(Key(drawing.resources, category), name.c_str()), drawing.resources);
    return false;
}

bool UsageWalk::FindsTransparency() {
    while (!pending_.empty()) {
        const Drawing drawing = pending_.back();
        pending_.pop_back();
        QPDFObjectHandle object = drawing.content;
        // A shading pattern is a dictionary that draws nothing of its own but its graphics state.
        if (IsTransparencyGroup(object) || IsTransparentImage(object) || IsTransparentState(Key(object, "/ExtGState")))
            return true;
        if (!Key(object, "/Subtype").isNameAndEquals("/Image") && UsesTransparentResource(drawing)) return true;
    }
    return false;
}

void AddAppearances(UsageWalk& walk, QPDFObjectHandle page) {
    QPDFObjectHandle annots = page.getKey("/Annots");
    if (!annots.isArray()) return;
    for (QPDFObjectHandle annot : annots.aitems()) {
        if (!annot.isDictionary()) continue;
        QPDFObjectHandle normal = Key(Key(annot, "/AP"), "/N");
        if (normal.isStream())
            walk.AddDrawn(normal, QPDFObjectHandle::newNull());
        else
            for (auto& [state, appearance] : Entries(normal)) walk.AddDrawn(appearance, QPDFObjectHandle::newNull());
    }
}

}  // namespace

bool UsesTransparency(const QPDFObjectHandle& page, bool includeAnnotations) {
    if (IsTransparencyGroup(page)) return true;
    UsageWalk walk(page);
    walk.AddDrawn(page, QPDFPageObjectHelper(page).getAttribute("/Resources", false));
    if (includeAnnotations) AddAppearances(walk, page);
    return walk.FindsTransparency();
}

}  // namespace tessera::pdf
