#pragma once
// The one table of the split dialog's fields as command-line options: each
// option's name, kind and help, and the settings field it sets.
#include <optional>
#include <string>
#include <vector>

#include "host/CommandLineServices.h"
#include "model/SplitSettings.h"
#include "strings/Result.h"

namespace tessera {

// The options, for the host to parse its command line with.
std::vector<host::OptionSpec> SplitOptionSpecs();
// What the options fill: the settings, and the selections of hand-made
// outputs ("NAME=SELECTION" or "SELECTION"), which are read once every option
// is known.
// A hand-made output as given: "[NAME=]SELECTION", and where it was given,
// which its refusal names ("--doc", or a manifest's file, line and column).
struct GivenDocument {
    std::string text;
    std::string source;
};

struct OptionTargets {
    SplitSettings& settings;
    std::vector<GivenDocument> documents;
    std::string methodOption;  // the option that chose the split method, if any
    std::string saveProfile;   // where --save-profile saves the settings instead of splitting
    // --max-size splits by size unless a method option or a profile chooses another method.
    bool sizeLimitGiven = false;
};

// The profile that --profile names (the last one given), or empty. It is read
// before every other option, whatever its place among them.
std::string ProfileToLoad(const std::vector<host::OptionValue>& options);

// More words on the values: the selections of --doc and the texts.
std::string SplitOptionsHelp();

// Sets the field an option names; when the value does not fit, a failure
// whose message points at what is wrong instead.
Result<> ApplySplitOption(const host::OptionValue& option, OptionTargets& fields);

// An area "L,T,R,B" in points; false when malformed.
bool ParseArea(const std::string& text, PageArea& area);

}  // namespace tessera
