#include "options/IdleOptions.h"

#include <algorithm>

#include "model/SeparatorKindTable.h"

namespace tessera {
namespace {

bool SplitsAt(const SplitSettings& s, std::initializer_list<SeparatorKind> kinds) {
    return s.SplitMode == SplitMethod::SeparatorPages &&
           std::ranges::find(kinds, s.Output.SeparatorType) != kinds.end();
}

// A split at sheets between documents, where duplex sheets and kept separators mean something.
bool SplitsAtSheets(const SplitSettings& s) {
    const SeparatorKindRow* kind = SeparatorKindOf(s);
    return kind && kind->sheets;
}

using enum SeparatorKind;

struct IdleRule {
    const char* option;
    bool (*used)(const SplitSettings&);
    const char* with;
};

constexpr IdleRule kIdleRules[] = {
    {"name-pattern",
     [](const SplitSettings& s) { return s.Filename.FileNameConstructionMode == NameConstructionMode::UseTemplate; },
     "--name (a template)"},
    {"on-missing", [](const SplitSettings& s) { return SplitsAt(s, {ValueChange}); }, "--separator change="},
    {"group-same-key", [](const SplitSettings& s) { return SplitsAt(s, {ValueChange}); }, "--separator change="},
    {"duplex", SplitsAtSheets, "--separator blank, scan, code or sheet="},
    {"keep-separators", SplitsAtSheets, "--separator blank, scan, code or sheet="},
    {"code-kinds", [](const SplitSettings& s) { return SplitsAt(s, {PageWithCode}); }, "--separator code"},
    {"code-anywhere", [](const SplitSettings& s) { return SplitsAt(s, {PageWithCode}); }, "--separator code"},
    {"sheet-share", [](const SplitSettings& s) { return SplitsAt(s, {ColouredSheet}); }, "--separator sheet="},
};

}  // namespace

std::optional<std::string> IdleOptionRefusal(const std::vector<host::OptionValue>& options,
                                             const SplitSettings& settings) {
    for (const host::OptionValue& option : options) {
        // A switch turned off asks for nothing.
        if (option.value == "0") continue;
        for (const IdleRule& rule : kIdleRules)
            if (option.name == rule.option && !rule.used(settings))
                return "--" + option.name + " goes with " + rule.with + ": without it, it would change nothing";
    }
    const auto given = [&](const char* name) {
        return std::ranges::any_of(options, [&](const host::OptionValue& o) { return o.name == name; });
    };
    if (given("names") && given("name"))
        return std::string("--names and --name both name the outputs: give one of them");
    return std::nullopt;
}

}  // namespace tessera
