#include "pdf/store/Destination.h"

#include <map>
#include <vector>

namespace tessera::pdf {
namespace {

QPDFObjectHandle LookUpName(PdfDocument& doc, QPDFObjectHandle name) {
    QPDFObjectHandle root = doc.Qpdf().getRoot();
    if (name.isName()) {
        QPDFObjectHandle dests = root.getKey("/Dests");
        return dests.isDictionary() ? dests.getKey(name.getName()) : QPDFObjectHandle::newNull();
    }
    QPDFObjectHandle found = doc.NamedDestination(name.getUTF8Value());
    if (found.isNull()) {  // PDF 1.1 files key the /Dests dictionary by strings too
        QPDFObjectHandle dests = root.getKey("/Dests");
        if (dests.isDictionary()) found = dests.getKey("/" + name.getUTF8Value());
    }
    return found;
}

}  // namespace

std::optional<QPDFObjectHandle> ExplicitDestination(PdfDocument& doc, QPDFObjectHandle dest) {
    // Two steps at most: a name to its value, a dictionary to its /D.
    for (int step = 0; step < 3; ++step) {
        if (dest.isArray()) return dest.getArrayNItems() > 0 ? std::optional(dest) : std::nullopt;
        if (dest.isName() || dest.isString())
            dest = LookUpName(doc, dest);
        else if (dest.isDictionary())
            dest = dest.getKey("/D");
        else
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<int> ArrayPageIndex(PdfDocument& doc, QPDFObjectHandle array) {
    QPDFObjectHandle page = array.getArrayItem(0);
    if (page.isInteger()) {  // some writers give a page number where a page object belongs
        const long long n = page.getIntValue();
        if (n >= 0 && n < doc.PageCount()) return static_cast<int>(n);
        return std::nullopt;
    }
    return doc.PageIndexOf(page);
}

host::Destination ViewOf(QPDFObjectHandle array, int page) {
    host::Destination view{page, "", {}};
    QPDFObjectHandle fit = array.getArrayItem(1);
    view.fit = fit.isName() ? fit.getName().substr(1) : "Fit";
    for (int i = 2; i < array.getArrayNItems(); ++i) {
        double value = 0;
        view.parameters.push_back(array.getArrayItem(i).getValueAsNumber(value) ? std::optional(value) : std::nullopt);
    }
    return view;
}

namespace {

// A coordinate as qpdf writes it. Every output of a run with its bookmarks
// writes the same few thousand coordinates again: each is formatted once.
QPDFObjectHandle Coordinate(double value) {
    static std::map<double, std::string> written;
    auto [known, added] = written.try_emplace(value);
    if (added) known->second = QPDFObjectHandle::newReal(value, 4, true).getRealValue();
    return QPDFObjectHandle::newReal(known->second);
}

}  // namespace

QPDFObjectHandle ArrayOf(const QPDFObjectHandle& target, const host::Destination& view) {
    std::vector<QPDFObjectHandle> items{target, QPDFObjectHandle::newName("/" + view.fit)};
    for (const std::optional<double>& value : view.parameters)
        items.push_back(value ? Coordinate(*value) : QPDFObjectHandle::newNull());
    return QPDFObjectHandle::newArray(items);
}

QPDFObjectHandle DestinationOf(QPDFObjectHandle item) {
    if (!item.isDictionary()) return QPDFObjectHandle::newNull();
    QPDFObjectHandle dest = item.getKey("/Dest");
    if (!dest.isNull()) return dest;
    QPDFObjectHandle action = item.getKey("/A");
    if (action.isDictionary() && action.getKey("/S").isNameAndEquals("/GoTo")) return action.getKey("/D");
    return QPDFObjectHandle::newNull();
}

}  // namespace tessera::pdf
