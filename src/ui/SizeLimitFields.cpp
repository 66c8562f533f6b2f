#include "ui/SizeLimitFields.h"

#include <limits>

#include "model/ByteSize.h"

namespace tessera {
namespace {

// The units the list offers, as shown and as the size reader takes them: the
// reader's table alone says what each is worth.
constexpr struct {
    const char* name;
    const char* word;
} kUnits[] = {{"bytes", "B"}, {"kB", "kB"}, {"MB", "MB"}, {"KiB", "KiB"}, {"MiB", "MiB"}};

std::int64_t UnitBytes(int unit) { return ParseByteSize(std::string("1") + kUnits[unit].word).value_or(1); }

bool Limited(const DialogView& view, const SplitSettings& settings) {
    return settings.SplitMode == SplitMethod::BySize || view.Checked(kSizeLimitCheck);
}

}  // namespace

void FillSizeUnits(DialogView& view) {
    std::vector<ListEntry> units;
    for (int i = 0; i < static_cast<int>(std::size(kUnits)); ++i) units.push_back({kUnits[i].name, i});
    view.FillList(kSizeUnitList, units);
    view.SelectListData(kSizeUnitList, 2);  // MB, what mail and upload limits are given in
}

void ShowSizeLimit(DialogView& view, const SplitSettings& settings) {
    const std::int64_t bytes = settings.Output.MaxOutputBytes;
    view.SetChecked(kSizeLimitCheck, bytes > 0 && settings.SplitMode != SplitMethod::BySize);
    if (bytes <= 0) return;
    int unit = 0;
    for (int i = 1; i < static_cast<int>(std::size(kUnits)); ++i)
        if (bytes % UnitBytes(i) == 0 && UnitBytes(i) > UnitBytes(unit)) unit = i;
    view.SetText(kSizeEdit, std::to_string(bytes / UnitBytes(unit)));
    view.SelectListData(kSizeUnitList, unit);
}

void ReadSizeLimit(const DialogView& view, SplitSettings& settings) {
    std::int32_t& limit = settings.Output.MaxOutputBytes;
    limit = 0;
    if (!Limited(view, settings)) return;
    const int unit = view.SelectedListData(kSizeUnitList).value_or(0);
    const std::optional<std::int64_t> bytes = ParseByteSize(view.Text(kSizeEdit) + kUnits[unit].word);
    if (bytes && *bytes <= std::numeric_limits<std::int32_t>::max()) limit = static_cast<std::int32_t>(*bytes);
}

void EnableSizeLimit(DialogView& view, const SplitSettings& settings) {
    view.SetEnabled(kSizeLimitCheck, settings.SplitMode != SplitMethod::BySize);
    for (const ControlId id : {kSizeEdit, kSizeUnitList}) view.SetEnabled(id, Limited(view, settings));
}

}  // namespace tessera
