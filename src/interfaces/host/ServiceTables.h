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

// Every table once, in the import order: its name, its type, and whether the
// handshake fails without it. The host's offer, the plug-in's import and the
// services taken from them all follow this list, so a new table is one row
// here (and its interfaces in ServicesFromTables).
#define TESSERA_SERVICE_TABLES(X)                     \
    X(AcroSupport, AcroSupportTable, true)            \
    X(Cos, CosTable, true)                            \
    X(PDModel, PDModelTable, true)                    \
    X(PDFEditWrite, PDFEditWriteTable, true)          \
    X(PDFEditRead, PDFEditReadTable, true)            \
    X(PDSysFont, PDSysFontTable, true)                \
    X(PagePDEContent, PagePDEContentTable, true)      \
    X(AcroView, AcroViewTable, true)                  \
    X(PDSWrite, PDSWriteTable, true)                  \
    X(PDSRead, PDSReadTable, true)                    \
    X(Win, WinTable, true)                            \
    X(ASExtra, ASExtraTable, false)                   \
    X(AcroViewSweetPea, AcroViewSweetPeaTable, false) \
    X(PDMetadata, PDMetadataTable, false)

// One of each table, named as the host names it.
struct ServiceTables {
#define TESSERA_TABLE_MEMBER(name, Type, required) Type name;
    TESSERA_SERVICE_TABLES(TESSERA_TABLE_MEMBER)
#undef TESSERA_TABLE_MEMBER
};

#define TESSERA_TABLE_NAME(name, Type, required) #name,
inline constexpr const char* kTableNames[] = {TESSERA_SERVICE_TABLES(TESSERA_TABLE_NAME)};
#undef TESSERA_TABLE_NAME
inline constexpr int kTableCount = static_cast<int>(sizeof kTableNames / sizeof kTableNames[0]);

// Calls visit(name, table, required) for each table of `tables`, in the import order.
template <class Tables, class Visit>
void ForEachTable(Tables& tables, Visit&& visit) {
#define TESSERA_TABLE_VISIT(name, Type, required) visit(#name, tables.name, required);
    TESSERA_SERVICE_TABLES(TESSERA_TABLE_VISIT)
#undef TESSERA_TABLE_VISIT
}

}  // namespace tessera::host
