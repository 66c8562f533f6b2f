#include <qpdf/QPDFPageObjectHelper.hh>

#include "pdf/TransparencyTest.h"

#include <map>
#include <set>
#include <string>
#include <vector>

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

bool IsTransparencyGroup(QPDFObjectHandle object) {
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

bool IsTransparentImage(QPDFObjectHandle dict) {
    if (!Key(dict, "/Subtype").isNameAndEquals("/Image")) return false;
    if (Key(dict, "/SMask").isStream()) return true;
    QPDFObjectHandle inData = Key(dict, "/SMaskInData");
    return inData.isInteger() && inData.getIntValue() != 0;
}

// Walks resource dictionaries and what they lead to, each object once, so
// shared or looping resources cost nothing twice.
class ResourceWalk {
public:
    void Add(QPDFObjectHandle resources) {
        if (resources.isDictionary()) pending_.push_back(resources);
    }
    void AddDrawn(QPDFObjectHandle object);  // a form, image, pattern or appearance stream
    bool FindsTransparency();

private:
    bool Seen(QPDFObjectHandle object) {
        return object.isIndirect() && !seen_.insert(object.getObjGen()).second;
    }
    bool Check(QPDFObjectHandle resources);

    std::vector<QPDFObjectHandle> pending_;
    std::vector<QPDFObjectHandle> drawn_;
    std::set<QPDFObjGen> seen_;
};

void ResourceWalk::AddDrawn(QPDFObjectHandle object) {
    if ((object.isStream() || object.isDictionary()) && !Seen(object)) drawn_.push_back(object);
}

bool ResourceWalk::Check(QPDFObjectHandle resources) {
    for (auto& [name, state] : Entries(Key(resources, "/ExtGState")))
        if (IsTransparentState(state)) return true;
    for (auto& [name, xobject] : Entries(Key(resources, "/XObject"))) AddDrawn(xobject);
    for (auto& [name, pattern] : Entries(Key(resources, "/Pattern"))) AddDrawn(pattern);
    return false;
}

bool ResourceWalk::FindsTransparency() {
    while (!pending_.empty() || !drawn_.empty()) {
        if (!pending_.empty()) {
            QPDFObjectHandle resources = pending_.back();
            pending_.pop_back();
            if (!Seen(resources) && Check(resources)) return true;
            continue;
        }
        QPDFObjectHandle object = drawn_.back();
        drawn_.pop_back();
        if (IsTransparencyGroup(object) || IsTransparentImage(object) ||
            IsTransparentState(Key(object, "/ExtGState")))
            return true;
        Add(Key(object, "/Resources"));
    }
    return false;
}

void AddAppearances(ResourceWalk& walk, QPDFObjectHandle page) {
    QPDFObjectHandle annots = page.getKey("/Annots");
    if (!annots.isArray()) return;
    for (QPDFObjectHandle annot : annots.aitems()) {
        if (!annot.isDictionary()) continue;
        QPDFObjectHandle normal = Key(Key(annot, "/AP"), "/N");
        if (normal.isStream()) walk.AddDrawn(normal);
        else
            for (auto& [state, appearance] : Entries(normal)) walk.AddDrawn(appearance);
    }
}

}  // namespace

bool UsesTransparency(QPDFObjectHandle page, bool includeAnnotations) {
    if (IsTransparencyGroup(page)) return true;
    ResourceWalk walk;
    walk.Add(QPDFPageObjectHelper(page).getAttribute("/Resources", false));
    if (includeAnnotations) AddAppearances(walk, page);
    return walk.FindsTransparency();
}

}  // namespace tessera::pdf
