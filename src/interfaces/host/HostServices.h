#pragma once
// What the plug-in took from the host's tables at the handshake: one pointer
// per interface. The plug-in calls nothing else of the host.
#include "host/ServiceTables.h"

namespace tessera::host {

struct HostServices {
    DocumentServices* documents = nullptr;
    BookmarkServices* bookmarks = nullptr;
    ActionServices* actions = nullptr;
    WordFinderServices* words = nullptr;
    PageServices* pages = nullptr;
    LinkServices* links = nullptr;
    BookmarkEditServices* bookmarkEdits = nullptr;
    ActionBuilderServices* actionBuilder = nullptr;
    PageContentServices* contents = nullptr;
    PageElementServices* elements = nullptr;
    PageEditServices* edits = nullptr;
    FontServices* fonts = nullptr;
    ViewerServices* viewer = nullptr;
    BatchServices* batch = nullptr;
    RegistryServices* registry = nullptr;
    FileServices* files = nullptr;
    CabinetServices* cabinets = nullptr;
    WindowServices* windows = nullptr;
    CommandLineServices* commandLine = nullptr;
    WorkerServices* workers = nullptr;  // may be null
};

// The one mapping from the tables that hold interfaces to the services, for
// the plug-in after its import and for a host that links the plug-in in.
inline HostServices ServicesFromTables(const ServiceTables& t) {
    const AcroSupportTable& support = t.AcroSupport;
    const PDModelTable& model = t.PDModel;
    HostServices s;
    s.files = support.files;
    s.registry = support.registry;
    s.cabinets = support.cabinets;
    s.workers = support.workers;
    s.documents = model.documents;
    s.bookmarks = model.bookmarks;
    s.actions = model.actions;
    s.words = model.words;
    s.pages = model.pages;
    s.links = model.links;
    s.bookmarkEdits = model.bookmarkEdits;
    s.actionBuilder = t.Cos.actionBuilder;
    s.contents = t.PagePDEContent.contents;
    s.elements = t.PDFEditRead.elements;
    s.edits = t.PDFEditWrite.edits;
    s.fonts = t.PDSysFont.fonts;
    s.viewer = t.AcroView.viewer;
    s.batch = t.AcroView.batch;
    s.windows = t.Win.windows;
    s.commandLine = t.Win.commandLine;
    return s;
}

}  // namespace tessera::host
