#pragma once
// A MuPDF context that threads may clone: it holds the locks MuPDF asks for
// before it lets two threads share its allocator, font library and caches.
// Each thread works in a clone of its own, on a document of its own.
#include <mutex>

#include <mupdf/fitz.h>

namespace tessera::pdf {

class MupdfThreads {
public:
    MupdfThreads();  // HostError when MuPDF cannot start
    ~MupdfThreads();
    MupdfThreads(const MupdfThreads&) = delete;
    MupdfThreads& operator=(const MupdfThreads&) = delete;

    // A new clone for one thread, to be dropped (fz_drop_context) before this
    // object goes; null when none can be made.
    fz_context* Clone() const;

private:
    std::mutex locks_[FZ_LOCK_MAX];
    fz_locks_context callbacks_{};
    fz_context* base_ = nullptr;
};

}  // namespace tessera::pdf
