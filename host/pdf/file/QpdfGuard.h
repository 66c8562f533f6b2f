#pragma once
// Turns every qpdf failure into a HostError with its text, so no backend
// exception crosses into the plug-in.
#include <qpdf/QPDFExc.hh>

#include <exception>
#include <utility>

#include "host/HostError.h"

namespace tessera::pdf {

template <class F>
auto QpdfGuard(F&& f) -> decltype(f()) {
    try {
        return std::forward<F>(f)();
    } catch (const host::HostError&) {
        throw;
    } catch (const QPDFExc& e) {
        const int code = e.getErrorCode() == qpdf_e_password ? host::kErrorPassword : host::kErrorDamaged;
        throw host::HostError(code, e.getMessageDetail().empty() ? e.what() : e.getMessageDetail());
    } catch (const std::exception& e) {
        throw host::HostError(host::kErrorGeneral, e.what());
    }
}

}  // namespace tessera::pdf
