#pragma once
// Links of output pages and the actions that lead out of them: what a link led
// to in the document its page came from, new GoTo and GoToR actions and file
// dictionaries (/Filespec) built in an output, deep copies of other actions.
// Every operation raises HostError on failure.
//
// Who fixes an output's links, written down here only: copied pages keep
// link actions that lead into the source document, and exactly one side makes
// them lead where their pages went.
// - The plug-in, when the user asks for links between outputs: it calls
//   TakeOverLinks first, then sets each link's action itself
//   (editing/LinkRewriting), to a place in this output, a GoToR into the
//   output holding the target page, or a GoToR into the source file.
// - Otherwise the host, when it saves the output (its link mender,
//   host/pdf/OutputFinisher): a link whose target page is in the output leads
//   to its first copy there, and one whose target is not is left as copying
//   left it.
// Neither side touches links the other owns, so no output is fixed twice.
#include <string>

#include "host/HostTypes.h"
#include "host/PageServices.h"

namespace tessera::host {

using FileSpecRef = ObjectRef;

class LinkServices {  // "PDModel" link annotation calls
public:
    virtual ~LinkServices() = default;

    // The action of annotation `index` of the page as the document the page
    // was copied from has it: copying cuts off destinations in pages that were
    // not copied yet, so an output's own copy cannot be trusted. A /Dest reads
    // as a GoTo action. A null ref when the annotation has neither.
    virtual ActionRef LinkAction(PageId page, int index) = 0;
    // Makes action (of the page's document) the annotation's only action.
    virtual void SetLinkAction(PageId page, int index, ActionRef action) = 0;
    // The caller sets every link of the document itself; saving leaves the
    // links as they are instead of mending those that lead into the document.
    virtual void TakeOverLinks(DocId doc) = 0;
};

class ActionBuilderServices {  // "Cos" object building
public:
    virtual ~ActionBuilderServices() = default;

    // A GoTo to page `page` of doc with the view (fit type and parameters) of `view`.
    virtual ActionRef NewGoTo(DocId doc, int page, const Destination& view) = 0;
    // A GoToR into file, to the page index dest.page there, with dest's view.
    virtual ActionRef NewRemoteGoTo(DocId doc, FileSpecRef file, const Destination& dest) = 0;
    // A GoToR into file, to the destination a GoTo action of another document
    // names: its name stays a name and its string the same bytes, as viewers
    // look names up by their bytes. HostError when goTo names none.
    virtual ActionRef NewRemoteNamedGoTo(DocId doc, FileSpecRef file, ActionRef goTo) = 0;
    // A /Filespec dictionary for path, written relative to the folder of the
    // file `relativeTo` ("../" where it climbs, "/" between names), or as
    // the absolute path when relativeTo is empty.
    virtual FileSpecRef NewFileSpec(DocId doc, const std::string& path, const std::string& relativeTo) = 0;
    // A deep copy of an action of another document into doc.
    virtual ActionRef CopyAction(DocId doc, ActionRef action) = 0;
};

}  // namespace tessera::host
