#include "access/CapturedAlerts.h"

#include "access/Host.h"

namespace tessera {

CapturedAlerts::CapturedAlerts() : before_(Host()), inner_(*before_.viewer) {
    host::HostServices services = before_;
    services.viewer = this;
    SetHost(services);
}

CapturedAlerts::~CapturedAlerts() { SetHost(before_); }

}  // namespace tessera
