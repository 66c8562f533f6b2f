#include "analysis/ElementCountTable.h"

#include <optional>
#include <string_view>

#include "access/Host.h"
#include "analysis/PageElementWalk.h"
#include "access/ReadOr.h"

namespace tessera {
namespace {

using enum host::PageElementKind;

struct NamedKind {
    std::string_view name;
    host::PageElementKind kind;
};

constexpr NamedKind kAnnotationKinds[] = {
    {"Text", TextComment}, {"FreeText", TextComment}, {"Popup", Popup},
    {"Highlight", Highlight}, {"Stamp", Stamp},        {"Widget", Form},
};

constexpr NamedKind kActionKinds[] = {
    {"GoTo", LinkToPage},  {"GoToR", ExternalLink},     {"URI", WebLink},
    {"Launch", Launch},    {"SubmitForm", SubmitForm}, {"ResetForm", ResetForm},
    {"JavaScript", JavaScript},
};

bool InTable(host::PageElementKind kind) {
    const auto index = static_cast<std::int32_t>(kind);
    return index >= 0 && index < host::kPageElementKindCount;
}

void Count(host::PageElementKind kind, ElementCountTable& counts) {
    if (InTable(kind)) ++counts[static_cast<std::size_t>(kind)];
}

template <std::size_t N>
void CountName(const NamedKind (&kinds)[N], std::string_view name, ElementCountTable& counts) {
    for (const NamedKind& k : kinds)
        if (k.name == name) Count(k.kind, counts);
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
        CountName(kAnnotationKinds, annotation.subtype, counts);
        // Whatever the subtype: a widget or a screen annotation can carry an action too.
        if (annotation.hasAction) CountName(kActionKinds, annotation.actionSubtype, counts);
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
    ReadOr([&failure](const host::HostError& e) {
        if (!failure) failure = e;
    }, "the group's kinds stay uncounted; the first failure is raised after the other groups", count);
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
