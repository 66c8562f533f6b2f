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
#include "host/PagePixelServices.h"
#include "host/PageServices.h"
#include "host/RegistryServices.h"
#include "host/ViewerServices.h"
#include "host/WindowServices.h"
#include "host/WordFinderServices.h"
#include "host/WorkerServices.h"

namespace tessera::host {

inline constexpr std::uint32_t kTableVersion = 0x50002;

// Each table's interfaces in its order, as X(Type, member). The tables, the
// plug-in's HostServices and the mapping between them all come from these
// lists and TESSERA_SERVICE_TABLES below: a new interface is one entry here
// (and its implementation handed over in host/runtime/HostRuntime.cpp).
// Files, paths, the registry, cabinets, worker processes (none: everything
// runs in the one process).
#define TESSERA_ACRO_SUPPORT_SERVICES(X) \
    X(FileServices, files) X(RegistryServices, registry) X(CabinetServices, cabinets) X(WorkerServices, workers)
// Object-level calls: building actions and /Filespec dictionaries.
#define TESSERA_COS_SERVICES(X) X(ActionBuilderServices, actionBuilder)
// clang-format off
#define TESSERA_PD_MODEL_SERVICES(X)       \
    X(DocumentServices, documents)         \
    X(BookmarkServices, bookmarks)         \
    X(ActionServices, actions)             \
    X(WordFinderServices, words)           \
    X(PageServices, pages)                 \
    X(LinkServices, links)                 \
    X(BookmarkEditServices, bookmarkEdits) \
    X(PagePixelServices, pixels)
// clang-format on
// Page content: writing (watermarks), reading, the standard fonts, acquisition.
#define TESSERA_PDF_EDIT_WRITE_SERVICES(X) X(PageEditServices, edits)
#define TESSERA_PDF_EDIT_READ_SERVICES(X) X(PageElementServices, elements)
#define TESSERA_PD_SYS_FONT_SERVICES(X) X(FontServices, fonts)
#define TESSERA_PAGE_PDE_CONTENT_SERVICES(X) X(PageContentServices, contents)
#define TESSERA_ACRO_VIEW_SERVICES(X) X(ViewerServices, viewer) X(BatchServices, batch)
// Message boxes, questions, the dialogs' stand-in.
#define TESSERA_WIN_SERVICES(X) X(WindowServices, windows) X(CommandLineServices, commandLine)
// Structure trees, and the optional tables.
#define TESSERA_NO_SERVICES(X)

// Every table once, in the import order: its name, its type, whether the
// handshake fails without it, and its interfaces.
#define TESSERA_SERVICE_TABLES(X)                                                   \
    X(AcroSupport, AcroSupportTable, true, TESSERA_ACRO_SUPPORT_SERVICES)           \
    X(Cos, CosTable, true, TESSERA_COS_SERVICES)                                    \
    X(PDModel, PDModelTable, true, TESSERA_PD_MODEL_SERVICES)                       \
    X(PDFEditWrite, PDFEditWriteTable, true, TESSERA_PDF_EDIT_WRITE_SERVICES)       \
    X(PDFEditRead, PDFEditReadTable, true, TESSERA_PDF_EDIT_READ_SERVICES)          \
    X(PDSysFont, PDSysFontTable, true, TESSERA_PD_SYS_FONT_SERVICES)                \
    X(PagePDEContent, PagePDEContentTable, true, TESSERA_PAGE_PDE_CONTENT_SERVICES) \
    X(AcroView, AcroViewTable, true, TESSERA_ACRO_VIEW_SERVICES)                    \
    X(PDSWrite, PDSWriteTable, true, TESSERA_NO_SERVICES)                           \
    X(PDSRead, PDSReadTable, true, TESSERA_NO_SERVICES)                             \
    X(Win, WinTable, true, TESSERA_WIN_SERVICES)                                    \
    X(ASExtra, ASExtraTable, false, TESSERA_NO_SERVICES)                            \
    X(AcroViewSweetPea, AcroViewSweetPeaTable, false, TESSERA_NO_SERVICES)          \
    X(PDMetadata, PDMetadataTable, false, TESSERA_NO_SERVICES)

#define TESSERA_SERVICE_MEMBER(Type, member) Type* member = nullptr;
#define TESSERA_TABLE_STRUCT(name, Type, required, services) \
    struct Type {                                            \
        services(TESSERA_SERVICE_MEMBER)                     \
    };
TESSERA_SERVICE_TABLES(TESSERA_TABLE_STRUCT)
#undef TESSERA_TABLE_STRUCT

// One of each table, named as the host names it.
struct ServiceTables {
#define TESSERA_TABLE_MEMBER(name, Type, required, services) Type name;
    TESSERA_SERVICE_TABLES(TESSERA_TABLE_MEMBER)
#undef TESSERA_TABLE_MEMBER
};

#define TESSERA_TABLE_NAME(name, Type, required, services) #name,
inline constexpr const char* kTableNames[] = {TESSERA_SERVICE_TABLES(TESSERA_TABLE_NAME)};
#undef TESSERA_TABLE_NAME
inline constexpr int kTableCount = static_cast<int>(sizeof kTableNames / sizeof kTableNames[0]);

// Calls visit(name, table, required) for each table of `tables`, in the import order.
template <class Tables, class Visit>
void ForEachTable(Tables& tables, Visit&& visit) {
#define TESSERA_TABLE_VISIT(name, Type, required, services) visit(#name, tables.name, required);
    TESSERA_SERVICE_TABLES(TESSERA_TABLE_VISIT)
#undef TESSERA_TABLE_VISIT
}

}  // namespace tessera::host
