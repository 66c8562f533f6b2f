#pragma once
// The named service tables the plug-in imports, and what each one holds.
// Each table is offered by the host at a version; the plug-in asks for
// kTableVersion. Tables whose operations no part of Tessera calls yet are
// offered empty, so the handshake asks for every table it will use.
#include <cstdint>

#include "host/BatchServices.h"
#include "host/BookmarkServices.h"
#include "host/Cabinet.h"
#include "host/CommandLineServices.h"
#include "host/DocumentServices.h"
#include "host/FileServices.h"
#include "host/LinkServices.h"
#include "host/PageContentServices.h"
#include "host/PageEditServices.h"
#include "host/PageServices.h"
#include "host/RegistryServices.h"
#include "host/ViewerServices.h"
#include "host/WindowServices.h"
#include "host/WordFinderServices.h"
#include "host/WorkerServices.h"

namespace tessera::host {

inline constexpr std::uint32_t kTableVersion = 0x50000;

struct AcroSupportTable {  // files, paths, the registry, cabinets and worker processes
    FileServices* files = nullptr;
    RegistryServices* registry = nullptr;
    CabinetServices* cabinets = nullptr;
    WorkerServices* workers = nullptr;  // none: everything runs in the one process
};
struct CosTable {  // object-level calls: building actions and /Filespec dictionaries
    ActionBuilderServices* actionBuilder = nullptr;
};
struct PDModelTable {
    DocumentServices* documents = nullptr;
    BookmarkServices* bookmarks = nullptr;
    ActionServices* actions = nullptr;
    WordFinderServices* words = nullptr;
    PageServices* pages = nullptr;
    LinkServices* links = nullptr;
    BookmarkEditServices* bookmarkEdits = nullptr;
};
struct PDFEditWriteTable {  // page content writing (watermarks)
    PageEditServices* edits = nullptr;
};
struct PDFEditReadTable {  // page content reading
    PageElementServices* elements = nullptr;
};
struct PDSysFontTable {  // the standard fonts (watermarks)
    FontServices* fonts = nullptr;
};
struct PagePDEContentTable {  // page content acquisition
    PageContentServices* contents = nullptr;
};
struct AcroViewTable {
    ViewerServices* viewer = nullptr;
    BatchServices* batch = nullptr;
};
struct PDSWriteTable {};  // structure tree writing
struct PDSReadTable {};   // structure tree reading
struct WinTable {         // message boxes, questions, the dialogs' stand-in
    WindowServices* windows = nullptr;
    CommandLineServices* commandLine = nullptr;
};
struct ASExtraTable {};           // optional
struct AcroViewSweetPeaTable {};  // optional
struct PDMetadataTable {};        // optional

// The import order; the first `kRequiredTables` are required.
inline constexpr const char* kTableNames[] = {"AcroSupport", "Cos",      "PDModel", "PDFEditWrite", "PDFEditRead",
                                              "PDSysFont",   "PagePDEContent", "AcroView", "PDSWrite", "PDSRead",
                                              "Win",         "ASExtra",  "AcroViewSweetPea", "PDMetadata"};
inline constexpr int kTableCount = 14;
inline constexpr int kRequiredTables = 11;

}  // namespace tessera::host
