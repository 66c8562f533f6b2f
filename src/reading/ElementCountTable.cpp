#include "reading/ElementCountTable.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "access/Host.h"
#include "access/ReadOr.h"
#include "model/ElementKindTable.h"
#include "reading/PageElementWalk.h"

namespace tessera {
namespace {

using enum host::PageElementKind;

bool InTable(host::PageElementKind kind) {
    const auto index = static_cast<std::int32_t>(kind);
    return index >= 0 && index < host::kPageElementKindCount;
}

void Count(host::PageElementKind kind, ElementCountTable& counts) {
    if (InTable(kind)) ++counts[static_cast<std::size_t>(kind)];
}

// Every kind whose row names the annotation's subtype, or its action's.
void CountAnnotationKinds(const host::AnnotationInfo& annotation, ElementCountTable& counts) {
    for (const ElementKindRow& row : ElementKindRows()) {
        const bool bySubtype = !annotation.subtype.empty() &&
                               std::ranges::find(row.annotationSubtypes, std::string_view(annotation.subtype)) !=
                                   std::end(row.annotationSubtypes);
        if (bySubtype) Count(row.kind, counts);
        // Whatever the subtype: a widget or a screen annotation can carry an action too.
        if (annotation.hasAction && !row.actionSubtype.empty() && row.actionSubtype == annotation.actionSubtype)
            Count(row.kind, counts);
    }
}

// Transparency is the content's too: only what the content uses counts.
void CountContent(PageContentHolder& holder, ElementCountTable& counts) {
    {
        ContentUse use(holder);
        WalkPageElements(holder.Content(), [&counts](host::ElementRef, host::PageElementKind type) {
            Count(type, counts);
            return true;
        });
    }
    if (Host().pages->HasTransparency(holder.Page(), true)) Count(Transparency, counts);
}

void CountAnnotations(host::PageId page, ElementCountTable& counts) {
    host::PageServices& pages = *Host().pages;
    const int n = pages.AnnotationCount(page);
    for (int i = 0; i < n; ++i) {
        const host::AnnotationInfo annotation = pages.Annotation(page, i);
        if (!annotation.valid) continue;
        CountAnnotationKinds(annotation, counts);
    }
}

void CountPageProperties(host::PageId page, ElementCountTable& counts) {
    host::PageServices& pages = *Host().pages;
    if (pages.HasTransition(page)) Count(Transition, counts);
    if (pages.Rotation(page) != 0) Count(Rotated, counts);
}

// Runs one group of counts; a host error leaves that group's kinds where they
// are and is kept, the first one, for the caller.
template <class Count>
void Attempt(Count&& count, std::optional<host::HostError>& failure) {
    ReadOr(
        [&failure](const host::HostError& e) {
            if (!failure) failure = e;
        },
        "the group's kinds stay uncounted; the first failure is raised after the other groups", count);
}

}  // namespace

bool CountPageElements(PageContentHolder& holder, ElementCountTable& counts) {
    counts.fill(0);
    if (!holder.HasPage()) return false;
    std::optional<host::HostError> failure;
    Attempt([&] { CountAnnotations(holder.Page(), counts); }, failure);
    Attempt([&] { CountPageProperties(holder.Page(), counts); }, failure);
    Attempt([&] { CountContent(holder, counts); }, failure);
    if (failure) throw *failure;
    return true;
}

std::uint32_t ElementCount(const ElementCountTable& counts, host::PageElementKind kind) {
    return InTable(kind) ? counts[static_cast<std::size_t>(kind)] : 0;
}

}  // namespace tessera
