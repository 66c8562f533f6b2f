#include "support/FaultyDocuments.h"

#include "host/HostError.h"

namespace tessera::test {

FaultyDocuments::FaultyDocuments(const host::HostServices& real, Operation failing, int nth)
    : real_(*real.documents),
      failing_(failing),
      remaining_(nth),
      text_(FaultText(failing, nth)),
      locator_(WithDocuments(real, *this)) {}

std::string FaultyDocuments::FaultText(Operation failing, int nth) {
    return "injected fault: call " + std::to_string(nth) + " of operation " + std::to_string(static_cast<int>(failing));
}

host::HostServices FaultyDocuments::WithDocuments(host::HostServices services, host::DocumentServices& documents) {
    services.documents = &documents;
    return services;
}

void FaultyDocuments::Call(Operation operation) {
    if (operation == failing_ && --remaining_ == 0) throw host::HostError(host::kErrorGeneral, text_);
}

}  // namespace tessera::test
