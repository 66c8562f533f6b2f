#pragma once
// Links of an output that lead into the source document are made to lead to
// where their target page went: to its place in the same output, to the
// output that holds it, or back into the source file. Which side fixes links
// when is written down in host/LinkServices.h.
#include <functional>
#include <optional>
#include <string>

#include "access/DocumentHandle.h"
#include "host/HostTypes.h"
#include "host/PageServices.h"
#include "model/OutputDocument.h"
#include "model/PagePlaces.h"

namespace tessera {

// One output being produced, among the outputs of its run.
struct LinkContext {
    const DocumentHandle& source;
    const DocumentHandle& output;  // still holding its placeholder page 0
    std::size_t index;             // the output's place in outputs
    const OutputList& outputs;
    std::function<std::string(std::size_t)> pathOf;  // the file path of an output of the list
    const PagePlaces& places;                        // where the source's pages went among outputs
};

// A new action in the output for a GoTo action of the source: a GoTo when
// the first output that holds the target page is this one, a GoToR into that
// output's file (relative to this output's folder) when it is another, a
// GoToR into the source file (by name when the action named its target)
// when no output holds it. None when the destination leads to no page.
std::optional<host::ActionRef> MapDestination(const LinkContext& context, host::ActionRef goTo);

// Retargets annotation `index` of the acquired output page when it is a link
// with a GoTo action that leads somewhere; every other annotation is left as
// it is. True when the link was changed.
bool RetargetLink(const LinkContext& context, host::PageId page, int index);

// Retargets every link of the output, with progress on the source's monitor.
// A host error is shown and ends the walk (the links after it stay as they
// were); false then.
bool UpdateOutputLinks(const LinkContext& context);

}  // namespace tessera
