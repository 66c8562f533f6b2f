#pragma once
// The one table of the persisted settings fields: stored name, type and where
// the value lives in SplitSettings, in the order the settings store writes them.
#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "model/SplitSettings.h"

namespace tessera {

// The choices are stored as their integers, areas as their raw fixed-point values.
using FieldRef = std::variant<std::int32_t*, bool*, std::string*, Fixed16*, SplitMethod*, SeparatorKind*,
                              NameConstructionMode*, AutoPrefix*>;

struct SettingsField {
    const char* name;  // the stored value's name, spelt as stored
    FieldRef (*ref)(SplitSettings&);
};

// Every field of the settings store, in its save order.
std::span<const SettingsField> StoredSettingsFields();

}  // namespace tessera
