#include "editing/LinkRewriting.h"

#include "access/Guarded.h"
#include "access/Host.h"
#include "access/OwnedId.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

namespace tessera {
namespace {

host::ActionRef RemoteGoTo(const LinkContext& context, const std::string& file, const std::string& relativeTo,
                           const host::Destination& dest) {
    host::ActionBuilderServices& build = *Host().actionBuilder;
    return build.NewRemoteGoTo(context.output.Doc(), build.NewFileSpec(context.output.Doc(), file, relativeTo), dest);
}

void RetargetPageLinks(const LinkContext& context, int pageIndex) {
    const OwnedPage page(Host().pages->AcquirePage(context.output.Doc(), pageIndex));
    const int count = Host().pages->AnnotationCount(page.Get());
    for (int a = 0; a < count; ++a) RetargetLink(context, page.Get(), a);
}

}  // namespace

std::optional<host::ActionRef> MapDestination(const LinkContext& context, host::ActionRef goTo) {
    const std::optional<host::Destination> dest = Host().actions->ResolvedDestination(goTo);
    if (!dest) return std::nullopt;
    const PageLocation target = context.places.Find(dest->page);
    if (target.found && static_cast<std::size_t>(target.output) == context.index)
        return Host().actionBuilder->NewGoTo(context.output.Doc(), target.position + 1,
                                             *dest);  // after the placeholder
    const std::string& here = context.pathOf(context.index);
    if (target.found) {
        host::Destination there = *dest;
        there.page = target.position;
        return RemoteGoTo(context, context.pathOf(static_cast<std::size_t>(target.output)), here, there);
    }
    // Back into the source, which stays where it is: its absolute path.
    const std::string sourcePath = context.source.FilePath();
    if (Host().actions->DestinationName(goTo)) {
        host::ActionBuilderServices& build = *Host().actionBuilder;
        return build.NewRemoteNamedGoTo(context.output.Doc(), build.NewFileSpec(context.output.Doc(), sourcePath, ""),
                                        goTo);
    }
    return RemoteGoTo(context, sourcePath, "", *dest);
}

bool RetargetLink(const LinkContext& context, host::PageId page, int index) {
    const host::AnnotationInfo info = Host().pages->Annotation(page, index);
    if (!info.valid || info.subtype != "Link") return false;
    const host::ActionRef action = Host().links->LinkAction(page, index);
    if (action.IsNull() || Host().actions->Subtype(action) != "GoTo") return false;
    // The new action is built before the old one goes: a link that leads
    // nowhere keeps what it had.
    const std::optional<host::ActionRef> mapped = MapDestination(context, action);
    if (!mapped) return false;
    Host().links->SetLinkAction(page, index, *mapped);
    return true;
}

bool UpdateOutputLinks(const LinkContext& context) {
    const std::size_t n = context.outputs.size();
    if (context.index >= n || !context.output.HasDocument()) return false;
    host::ProgressMonitor& monitor = context.source.Monitor();
    monitor.BeginOperation();
    const bool complete = Guarded([&] {
        Host().links->TakeOverLinks(context.output.Doc());
        const int pages = context.output.PageCount();
        monitor.SetDuration(pages);
        monitor.SetText(FormatText(LookupString("IDS_DOCUMENT_PROGRESS"),
                                   {static_cast<std::int64_t>(context.index + 1), static_cast<std::int64_t>(n)}));
        for (int p = 0; p < pages; ++p) {
            monitor.SetValue(p + 1);
            RetargetPageLinks(context, p);
        }
    });
    monitor.EndOperation();
    return complete;
}

}  // namespace tessera
