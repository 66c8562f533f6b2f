#include "ui/WindowFactory.h"

#include "access/Host.h"
#include "strings/LanguageTable.h"

namespace tessera {

ViewServices PlugInViewServices() {
    return {&ShownCaption, [](const std::string& text) { Host().viewer->Alert(text); }};
}

}  // namespace tessera
