#pragma once
// The one table of the settings' stored fields. A row says where the value
// lives in SplitSettings and everything each front end and store needs to
// know of it: its name in the remembered settings, its group and key in
// profiles, the value a profile without it gives, how many stored choices it
// has, its control in the settings dialog, its command-line option and help.
// The remembered settings, profiles, the dialog's binding and the command
// line loop over these rows; names, typos included, are spelt as stored.
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "model/SplitSettings.h"

namespace tessera {

// A field of a record. Choices are stored as their integers, areas as their
// raw fixed-point values (remembered settings) or reals (profiles).
using FieldRef = std::variant<std::int32_t*, bool*, std::string*, Fixed16*, SplitMethod*, SeparatorKind*,
                              NameConstructionMode*, AutoPrefix*, ChangeKeyKind*, OcrMode*>;

// The cabinet of "Settings" a profile keeps the field in.
enum class ProfileGroup { None, Security, Filename, Output };

struct SettingsRow {
    FieldRef (*ref)(SplitSettings&);
    // The remembered settings: the value's name, spelt as stored, and its
    // place in the stored section; a new field takes the next free place so
    // that the section is written in the order it always was. Null: not kept.
    const char* registryName = nullptr;
    int registryPlace = -1;
    // Profiles: the group, the key (null: not kept, or kept elsewhere), and
    // what a profile without the key reads as (texts read as empty, areas as 0).
    ProfileGroup group = ProfileGroup::None;
    const char* profileKey = nullptr;
    std::int32_t whenMissing = 0;
    // For choices a profile folds: integers from this count up read as the
    // first choice (negative ones are kept). 0: not folded.
    std::int32_t choiceCount = 0;
    // The settings dialog's control that shows it (its kind follows from the
    // field's type: a check box, an edit, a number edit or a list); 0: none.
    int control = 0;
    const char* caption = nullptr;  // the control's caption
    // The command-line option that sets it alone (a switch, a choice of the
    // choice rows' words, or a text) and its help; null: none, or set by a
    // hand-written option.
    const char* option = nullptr;
    const char* help = nullptr;
    // The whole numbers a front end accepts, when low <= high; for a text,
    // its most characters (high). The stores take any value.
    std::int32_t low = 0;
    std::int32_t high = -1;
    // A field newer than the stores: written only when it holds something,
    // so that stores without it stay as they were written before.
    bool writtenWhenSet = false;
};

// Whether a store writes the row's value of `settings`.
bool IsWritten(const SettingsRow& row, SplitSettings& settings);

// Every row, grouped and ordered as profiles write them, then the fields only
// the remembered settings keep.
std::span<const SettingsRow> SettingsSchema();

// The rows the remembered settings keep, in their stored order.
std::vector<const SettingsRow*> RememberedRows();

// The row a settings dialog control shows; null for other controls.
const SettingsRow* SettingsRowForControl(int control);

// The row of a field of `settings`; null when no row holds it.
const SettingsRow* SettingsRowOf(SplitSettings& settings, const void* field);

// The row of a command-line option; null for options the rows do not make.
const SettingsRow* SettingsRowForOption(const std::string& option);

}  // namespace tessera
