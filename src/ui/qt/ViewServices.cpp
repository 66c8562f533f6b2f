#include "ui/qt/ViewServices.h"

#include <iostream>

namespace tessera {

ViewServices& TheViewServices() {
    // Until they are handed in: the English captions, messages on stderr.
    static ViewServices services{[](const std::string& english) { return english; },
                                 [](const std::string& text) { std::cerr << text << std::endl; }};
    return services;
}

}  // namespace tessera
