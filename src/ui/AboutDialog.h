#pragma once
// The about box: product, description and version.
#include <string>
#include <vector>

namespace tessera {

struct AboutTexts {
    std::string title;
    std::vector<std::string> lines;
};

AboutTexts MakeAboutTexts();
void ShowAboutDialog();

}  // namespace tessera
