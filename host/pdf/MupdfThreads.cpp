#include "pdf/MupdfThreads.h"

#include "host/HostError.h"

namespace tessera::pdf {
namespace {

void Lock(void* user, int lock) { static_cast<std::mutex*>(user)[lock].lock(); }
void Unlock(void* user, int lock) { static_cast<std::mutex*>(user)[lock].unlock(); }

}  // namespace

MupdfThreads::MupdfThreads() {
    callbacks_ = {locks_, &Lock, &Unlock};
    base_ = fz_new_context(nullptr, &callbacks_, FZ_STORE_DEFAULT);
    if (!base_) throw host::HostError(host::kErrorGeneral, "the text reader could not start");
}

MupdfThreads::~MupdfThreads() { fz_drop_context(base_); }

fz_context* MupdfThreads::Clone() const { return fz_clone_context(base_); }

}  // namespace tessera::pdf
