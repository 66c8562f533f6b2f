#include "pdf/services/QpdfActionServices.h"

#include "pdf/file/QpdfGuard.h"
#include "pdf/store/Destination.h"

namespace tessera::pdf {

bool QpdfActionServices::IsValid(host::ActionRef action) {
    return QpdfGuard([&] { return store_.Resolve(action).getKeyIfDict("/S").isName(); });
}

std::string QpdfActionServices::Subtype(host::ActionRef action) {
    return QpdfGuard([&] {
        QPDFObjectHandle s = store_.Resolve(action).getKeyIfDict("/S");
        return s.isName() ? s.getName().substr(1) : std::string();
    });
}

std::optional<int> QpdfActionServices::DestinationPage(host::ActionRef action) {
    const std::optional<host::Destination> view = ResolvedDestination(action);
    return view ? std::optional(view->page) : std::nullopt;
}

std::optional<host::Destination> QpdfActionServices::ResolvedDestination(host::ActionRef action) {
    return QpdfGuard([&]() -> std::optional<host::Destination> {
        PdfDocument& doc = store_.Get(action.doc);
        const bool read = !doc.Path().empty();
        if (const auto known = doc.resolvedDestinations.find(action.index);
            read && known != doc.resolvedDestinations.end())
            return known->second;
        const std::optional<QPDFObjectHandle> array =
            ExplicitDestination(doc, store_.Resolve(action).getKeyIfDict("/D"));
        const std::optional<int> page = array ? ArrayPageIndex(doc, *array) : std::nullopt;
        std::optional<host::Destination> view = page ? std::optional(ViewOf(*array, *page)) : std::nullopt;
        if (read) doc.resolvedDestinations.emplace(action.index, view);
        return view;
    });
}

std::optional<std::string> QpdfActionServices::DestinationName(host::ActionRef action) {
    return QpdfGuard([&]() -> std::optional<std::string> {
        QPDFObjectHandle d = store_.Resolve(action).getKeyIfDict("/D");
        if (d.isName()) return d.getName().substr(1);
        if (d.isString()) return d.getUTF8Value();
        return std::nullopt;
    });
}

std::optional<std::string> QpdfActionServices::ScriptText(host::ActionRef action) {
    return QpdfGuard([&]() -> std::optional<std::string> {
        QPDFObjectHandle js = store_.Resolve(action).getKeyIfDict("/JS");
        if (js.isString()) return js.getUTF8Value();
        if (js.isName()) return js.getName().substr(1);
        return std::nullopt;
    });
}

}  // namespace tessera::pdf
