#pragma once
// The whole settings record, hand-made output list included, as a cabinet
// tree: the form of profile files and of batch-command parameters.
#include <string>

#include "host/Cabinet.h"
#include "model/SplitSettings.h"
#include "strings/Result.h"

namespace tessera {

// Empties the cabinet and stores every field; empty texts are left out.
void SaveSettingsToCabinet(const SplitSettings& settings, host::Cabinet& cabinet);

// Loads the tree over `settings`, which should be freshly built: the groups of
// "Settings" are read in order and only while the ones before them were there,
// so the rest keep the record's values. A failure when the tree is refused (a
// method outside 0 to 3, "Settings" or a numbered document, range or query
// missing, more than 10000 ranges in a document, a value of the wrong type,
// a value CheckStoredValues refuses), its reason naming the key, and the
// record is left partly loaded for the caller to discard.
Result<> LoadSettingsFromCabinet(SplitSettings& settings, const host::Cabinet& cabinet);

}  // namespace tessera
