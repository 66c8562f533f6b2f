#include "pdf/store/ItemAction.h"

namespace tessera::pdf {

host::ActionRef ActionOfItem(DocumentStore& store, host::DocId doc, QPDFObjectHandle item) {
    QPDFObjectHandle action = item.getKeyIfDict("/A");
    if (action.isDictionary()) return store.RefTo(doc, action);
    QPDFObjectHandle dest = item.getKeyIfDict("/Dest");
    if (dest.isNull()) return host::ActionRef{doc, 0};
    return store.RefToMade(store.RefTo(doc, item), "/Dest", [&dest] {
        QPDFObjectHandle goTo = QPDFObjectHandle::newDictionary();
        goTo.replaceKey("/S", QPDFObjectHandle::newName("/GoTo"));
        goTo.replaceKey("/D", dest);
        return goTo;
    });
}

}  // namespace tessera::pdf
