#pragma once
#include <string>

namespace tessera::cabinet {

std::string EncodeBase64(const std::string& bytes);
// False for anything but canonical padded base64.
bool DecodeBase64(const std::string& text, std::string& bytes);

}  // namespace tessera::cabinet
