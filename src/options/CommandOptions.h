#pragma once
// The command line's options applied to split settings: --profile first,
// then every option in the order given, then the hand-made outputs of --doc
// and --manifest, refused together with options their method ignores.
#include <optional>
#include <string>

#include "model/SplitSettings.h"

namespace tessera {

// What the options asked for besides the fields.
struct GivenOptions {
    bool any = false;     // some option was given
    bool folder = false;  // --output-folder
    std::string saveProfile;
};

// --profile, then the options in order, over `working`; the outputs of --doc
// replace its list. None after the refusal was reported.
std::optional<GivenOptions> ApplyCommandOptions(SplitSettings& working, unsigned pageCount);

}  // namespace tessera
