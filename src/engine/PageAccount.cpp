#include "engine/PageAccount.h"

#include <algorithm>
#include <cstdint>

#include "engine/OutputNaming.h"
#include "engine/PageSelection.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

namespace tessera {
namespace {

const char* ReasonName(DropReason reason) {
    switch (reason) {
        case DropReason::Blank:
            return "blank";
        case DropReason::Separator:
            return "separator";
        case DropReason::SheetBack:
            break;
    }
    return "sheet-back";
}

// Methods meant to take every page: all but a hand-made list, unless that
// list is a manifest's page counts.
bool MeantToCover(const SplitSettings& settings) {
    return settings.SplitMode != SplitMethod::ManualRanges || settings.Output.CountsCoverDocument;
}

std::string AccountText(const char* key, std::initializer_list<FormatArg> args) {
    return FormatText(LookupString(key), args);
}

// The output's name within the output folder, as the plan shows it.
std::string OutputName(const SplitSettings& settings, int number) {
    std::string name = settings.Outputs.at(static_cast<std::size_t>(number - 1)).Filename;
    const std::string& folder = settings.Filename.OutputFolder;
    if (name.starts_with(folder)) name.erase(0, folder.size());
    std::ranges::replace(name, '\\', '/');
    return name;
}

std::int64_t Counted(std::size_t n) { return static_cast<std::int64_t>(n); }

int ClampedPage(std::int64_t page) { return static_cast<int>(std::min<std::int64_t>(page, INT32_MAX)); }

std::string PageSpan(int first, int last) {
    return first == last ? std::to_string(first) : std::to_string(first) + "-" + std::to_string(last);
}

std::vector<int> DroppedPages(const host::PageAccount& account) {
    std::vector<int> pages;
    for (const host::DroppedPageEntry& entry : account.dropped) pages.push_back(entry.page);
    return pages;
}

}  // namespace

host::PageAccount AccountPages(const SplitSettings& settings, int pageCount) {
    host::PageAccount account;
    account.pages = pageCount;
    std::vector<bool> held(static_cast<std::size_t>(std::max(pageCount, 0)), false);
    for (std::size_t i = 0; i < settings.Outputs.size(); ++i) {
        const std::vector<int> pages = OutputPages(settings.Outputs[i], pageCount);
        if (pages.empty()) account.emptyOutputs.push_back(static_cast<int>(i + 1));
        for (const int page : pages) held[static_cast<std::size_t>(page)] = true;
        for (const PageRange& range : settings.Outputs[i].Ranges)
            if (const auto beyond = PagesBeyond(range, pageCount))
                account.beyondDocument.push_back(
                    {static_cast<int>(i + 1), ClampedPage(beyond->first + 1), ClampedPage(beyond->second + 1)});
    }
    std::vector<const DroppedPage*> dropped(held.size(), nullptr);
    for (const DroppedPage& page : settings.Dropped)
        if (page.page >= 0 && page.page < pageCount) dropped[static_cast<std::size_t>(page.page)] = &page;
    for (int page = 0; page < pageCount; ++page) {
        const DroppedPage* drop = dropped[static_cast<std::size_t>(page)];
        // A page an output holds is in it, whatever else planning said of it.
        if (held[static_cast<std::size_t>(page)])
            account.inOutputs.push_back(page + 1);
        else if (drop)
            account.dropped.push_back({page + 1, ReasonName(drop->reason), drop->kind, drop->value});
        else
            account.inNoOutput.push_back(page + 1);
    }
    return account;
}

std::vector<std::string> AccountWarnings(const SplitSettings& settings, const host::PageAccount& account) {
    std::vector<std::string> warnings;
    if (settings.SeparatorsFound == 0) warnings.push_back(LookupString("IDS_WARN_NO_SEPARATOR_FOUND"));
    for (const int number : account.emptyOutputs)
        warnings.push_back(AccountText("IDS_WARN_EMPTY_OUTPUT", {OutputName(settings, number)}));
    for (const host::PagesBeyondDocument& beyond : account.beyondDocument)
        warnings.push_back(AccountText(
            "IDS_WARN_PAGES_BEYOND_DOCUMENT",
            {OutputName(settings, beyond.output), PageSpan(beyond.first, beyond.last), std::int64_t{account.pages}}));
    if (!account.inNoOutput.empty() && MeantToCover(settings))
        warnings.push_back(AccountText("IDS_WARN_PAGES_IN_NO_OUTPUT", {ShortPageList(account.inNoOutput)}));
    // Blank pages that cut the document are separators too.
    const std::size_t dropped = account.dropped.size();
    if (dropped * 2 > static_cast<std::size_t>(account.pages))
        warnings.push_back(AccountText("IDS_WARN_MOSTLY_DROPPED", {Counted(dropped), std::int64_t{account.pages}}));
    return warnings;
}

std::string AccountSummary(const SplitSettings& settings, const host::PageAccount& account) {
    std::string text =
        AccountText("IDS_ACCOUNT_IN_OUTPUTS", {Counted(account.inOutputs.size()), std::int64_t{account.pages}});
    if (!account.dropped.empty())
        text += " " + AccountText("IDS_ACCOUNT_DROPPED", {ShortPageList(DroppedPages(account))});
    if (!account.inNoOutput.empty())
        text += " " + AccountText("IDS_ACCOUNT_IN_NO_OUTPUT", {ShortPageList(account.inNoOutput)});
    std::string empty;
    for (const int number : account.emptyOutputs) empty += (empty.empty() ? "" : ", ") + OutputName(settings, number);
    if (!empty.empty()) text += " " + AccountText("IDS_ACCOUNT_EMPTY_OUTPUTS", {empty});
    return text;
}

std::string ShortPageList(const std::vector<int>& pages) {
    std::string text;
    std::size_t runs = 0, i = 0;
    for (; i < pages.size() && runs < kListedRuns; ++runs) {
        std::size_t j = i;
        while (j + 1 < pages.size() && pages[j + 1] == pages[j] + 1) ++j;
        text += (text.empty() ? "" : ", ") + std::to_string(pages[i]);
        if (j > i) text += "-" + std::to_string(pages[j]);
        i = j + 1;
    }
    if (i < pages.size()) text += " " + AccountText("IDS_ACCOUNT_MORE_PAGES", {Counted(pages.size() - i)});
    return text;
}

}  // namespace tessera
