#pragma once
// Bookmarks (outline items) and their actions ("PDModel" bookmark and action calls).
#include <optional>
#include <string>

#include "host/HostTypes.h"

namespace tessera::host {

class BookmarkServices {
public:
    virtual ~BookmarkServices() = default;

    // The outline root of a document; a valid ref even when the document has no outline.
    virtual BookmarkRef Root(DocId doc) = 0;
    virtual bool IsValid(BookmarkRef bookmark) = 0;
    // Null refs mark the end of a chain.
    virtual BookmarkRef FirstChild(BookmarkRef bookmark) = 0;
    virtual BookmarkRef NextSibling(BookmarkRef bookmark) = 0;
    virtual BookmarkRef Parent(BookmarkRef bookmark) = 0;
    // UTF-8 text of the title.
    virtual std::string Title(BookmarkRef bookmark) = 0;
    virtual bool IsOpen(BookmarkRef bookmark) = 0;
    // Style flags: 1 italic, 2 bold.
    virtual int Style(BookmarkRef bookmark) = 0;
    virtual std::optional<RgbColor> Color(BookmarkRef bookmark) = 0;
    // The item's action; a destination without an action reads as a GoTo action.
    // A null ref when the item has neither.
    virtual ActionRef Action(BookmarkRef bookmark) = 0;
};

// Building an outline: items are added as last children and take their
// looks and action after. Counts of open items are the host's to keep.
class BookmarkEditServices {
public:
    virtual ~BookmarkEditServices() = default;

    // The new last child of parent (a document's Root included) with title (UTF-8).
    virtual BookmarkRef AddChild(BookmarkRef parent, const std::string& title) = 0;
    virtual void SetOpen(BookmarkRef bookmark, bool open) = 0;
    // Style flags: 1 italic, 2 bold.
    virtual void SetStyle(BookmarkRef bookmark, int style) = 0;
    virtual void SetColor(BookmarkRef bookmark, const RgbColor& color) = 0;
    // action belongs to the bookmark's document.
    virtual void SetAction(BookmarkRef bookmark, ActionRef action) = 0;
    // Gives `doc` the whole outline of `from`, a document the plug-in built
    // it in, shared rather than copied: outputs that take the same outline
    // write it from bytes made once. False when the host cannot share it
    // (the outline is then to be built item by item).
    virtual bool ShareOutline(DocId doc, DocId from) = 0;
    // In `doc`, which shares the outline `item` is of, the item leads by
    // `action` (of doc) instead: its target is in doc.
    virtual void ReplaceSharedAction(DocId doc, BookmarkRef item, ActionRef action) = 0;
};

class ActionServices {
public:
    virtual ~ActionServices() = default;

    virtual bool IsValid(ActionRef action) = 0;
    // The action's /S name without the slash: "GoTo", "JavaScript", "URI", ...
    virtual std::string Subtype(ActionRef action) = 0;
    // The 0-based page a GoTo action's destination leads to, named destinations
    // (the /Dests dictionary and the /Names tree) resolved; none when it leads nowhere.
    virtual std::optional<int> DestinationPage(ActionRef action) = 0;
    // A GoTo action's destination as an explicit one in the action's document,
    // named destinations resolved; none when it leads to no page there.
    virtual std::optional<Destination> ResolvedDestination(ActionRef action) = 0;
    // The name a GoTo action's /D gives (a name or a string); none for an explicit destination.
    virtual std::optional<std::string> DestinationName(ActionRef action) = 0;
    // The script of a JavaScript action when its /JS is a string or a name; none otherwise.
    virtual std::optional<std::string> ScriptText(ActionRef action) = 0;
};

}  // namespace tessera::host
