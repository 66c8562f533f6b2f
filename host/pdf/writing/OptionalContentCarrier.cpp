#include "pdf/writing/OptionalContentCarrier.h"

#include <qpdf/QPDFPageObjectHelper.hh>

#include <set>
#include <vector>

namespace tessera::pdf {
namespace {

using Handle = QPDFObjectHandle;

// Orders and expressions nest a few levels; deeper is damage.
constexpr int kDeepestGroupNesting = 32;

class GroupsUsed {
public:
    void Page(Handle page) {
        Resources(QPDFPageObjectHelper(page).getAttribute("/Resources", false));
        Handle annots = page.getKey("/Annots");
        if (annots.isArray())
            for (Handle annot : annots.aitems())
                if (annot.isDictionary()) Member(annot.getKey("/OC"));
    }
    bool Holds(const Handle& group) const { return group.isIndirect() && groups_.count(group.getObjGen()) > 0; }
    bool Empty() const { return groups_.empty(); }

private:
    void Resources(Handle resources) {
        if (!resources.isDictionary() || (resources.isIndirect() && !seen_.insert(resources.getObjGen()).second))
            return;
        // Walking a value of the wrong type would count as a repair of the file.
        if (Handle properties = resources.getKey("/Properties"); properties.isDictionary())
            for (auto& [name, value] : properties.ditems()) Member(value);
        Handle forms = resources.getKey("/XObject");
        if (!forms.isDictionary()) return;
        for (auto& [name, object] : forms.ditems()) {
            if (!object.isStream() || !seen_.insert(object.getObjGen()).second) continue;
            Handle dict = object.getDict();
            Member(dict.getKey("/OC"));
            if (dict.getKey("/Subtype").isNameAndEquals("/Form")) Resources(dict.getKey("/Resources"));
        }
    }

    // A group, or a membership dictionary naming groups (never another
    // membership: one that names itself must not lead round for ever).
    void Member(Handle value) {
        if (!value.isDictionary() || !value.getKey("/Type").isNameAndEquals("/OCMD")) return Group(value);
        Handle groups = value.getKey("/OCGs");
        for (const Handle& g : groups.isArray() ? groups.getArrayAsVector() : std::vector<Handle>{groups}) Group(g);
        Expression(value.getKey("/VE"), 0);
    }

    void Group(Handle value) {
        if (value.isDictionary() && value.isIndirect() && value.getKey("/Type").isNameAndEquals("/OCG"))
            groups_.insert(value.getObjGen());
    }

    // A visibility expression: [/And|/Or|/Not operands...], nested.
    void Expression(Handle expression, int depth) {
        if (!expression.isArray() || depth > kDeepestGroupNesting) return;
        for (Handle operand : expression.aitems()) operand.isArray() ? Expression(operand, depth + 1) : Group(operand);
    }

    std::set<QPDFObjGen> groups_;
    std::set<QPDFObjGen> seen_;
};

Handle GroupsIn(Handle list, const GroupsUsed& used) {
    std::vector<Handle> kept;
    if (!list.isArray()) return Handle::newArray();
    for (const Handle& g : list.aitems())
        if (used.Holds(g)) kept.push_back(g);
    return Handle::newArray(kept);
}

// An /Order array: groups that stay, nested orders that keep a group, and
// the label that heads a nested order that stays. An order met again (one
// that holds itself) is left out: walking it anew would multiply the work
// with every level.
Handle Order(Handle order, const GroupsUsed& used, int depth, std::set<QPDFObjGen>& met) {
    std::vector<Handle> kept;
    bool anyGroup = false;
    for (Handle item : order.aitems()) {
        if (used.Holds(item)) {
            kept.push_back(item), anyGroup = true;
        } else if (item.isArray() && depth < kDeepestGroupNesting &&
                   (!item.isIndirect() || met.insert(item.getObjGen()).second)) {
            Handle nested = Order(item, used, depth + 1, met);
            if (nested.getArrayNItems() > 0) kept.push_back(nested), anyGroup = true;
        } else if (item.isString() && kept.empty()) {
            kept.push_back(item);
        }
    }
    return anyGroup ? Handle::newArray(kept) : Handle::newArray();
}

Handle Configuration(Handle config, const GroupsUsed& used) {
    Handle copy = config.shallowCopy();
    for (const char* list : {"/ON", "/OFF", "/Locked"})
        if (config.getKey(list).isArray()) copy.replaceKey(list, GroupsIn(config.getKey(list), used));
    if (Handle order = config.getKey("/Order"); order.isArray()) {
        std::set<QPDFObjGen> met;
        if (order.isIndirect()) met.insert(order.getObjGen());
        copy.replaceKey("/Order", Order(order, used, 0, met));
    }
    if (Handle radio = config.getKey("/RBGroups"); radio.isArray()) {
        std::vector<Handle> kept;
        for (const Handle& group : radio.aitems())
            if (Handle cut = GroupsIn(group, used); cut.getArrayNItems() > 1) kept.push_back(cut);
        copy.replaceKey("/RBGroups", Handle::newArray(kept));
    }
    if (Handle usages = config.getKey("/AS"); usages.isArray()) {
        std::vector<Handle> kept;
        for (Handle usage : usages.aitems()) {
            if (!usage.isDictionary()) continue;
            Handle cut = usage.shallowCopy();
            cut.replaceKey("/OCGs", GroupsIn(usage.getKey("/OCGs"), used));
            if (cut.getKey("/OCGs").getArrayNItems() > 0) kept.push_back(cut);
        }
        copy.replaceKey("/AS", Handle::newArray(kept));
    }
    return copy;
}

}  // namespace

void CarryOptionalContent(PdfDocument& out, PdfDocument& source) {
    Handle properties = source.Qpdf().getRoot().getKey("/OCProperties");
    if (!properties.isDictionary()) return;
    GroupsUsed used;
    for (const auto& [page, origin] : out.Origins())
        if (origin.source == &source) used.Page(source.Page(origin.page));
    if (used.Empty()) return;
    Handle cut = properties.shallowCopy();
    cut.replaceKey("/OCGs", GroupsIn(properties.getKey("/OCGs"), used));
    if (properties.getKey("/D").isDictionary()) cut.replaceKey("/D", Configuration(properties.getKey("/D"), used));
    if (Handle configs = properties.getKey("/Configs"); configs.isArray()) {
        std::vector<Handle> kept;
        for (Handle config : configs.aitems())
            if (config.isDictionary()) kept.push_back(Configuration(config, used));
        cut.replaceKey("/Configs", Handle::newArray(kept));
    }
    // qpdf copies only indirect objects across documents; the groups are the
    // ones the pages brought along.
    out.Qpdf().getRoot().replaceKey("/OCProperties",
                                    out.Qpdf().copyForeignObject(source.Qpdf().makeIndirectObject(cut)));
}

}  // namespace tessera::pdf
