#pragma once
// The plug-in's own messages, shown by key in the host's modal alert.
#include <string_view>

namespace tessera {

// The looked-up text in the host's modal alert.
void AlertByKey(std::string_view key, std::string_view fallback = {});

}  // namespace tessera
