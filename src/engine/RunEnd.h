#pragma once
// How a split run, or the writing of its outputs, ended.

namespace tessera {

enum class RunEnd {
    Failed,     // stopped at a failure that has been shown
    Completed,  // every planned output was written, or left out for having no pages
    Cancelled,  // the user stopped it between two outputs; the files written so far stay
};

}  // namespace tessera
