#pragma once
// What one run of the split shares with the runs around it, handed in by the
// route that starts it rather than kept by the engine between runs.
#include "engine/WrittenFiles.h"

namespace tessera {

struct RunContext {
    // The files the batch this run belongs to has written so far, kept across
    // its splits so that one file's outputs never replace another's (prefixes
    // are the user's to choose, and "none" gives every file of a folder the
    // same names); null outside a batch.
    WrittenFiles* batchFiles = nullptr;
};

}  // namespace tessera
