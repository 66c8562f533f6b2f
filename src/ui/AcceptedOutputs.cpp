#include "ui/AcceptedOutputs.h"

namespace tessera {

AcceptedOutputs& Accepted() {
    static AcceptedOutputs accepted;
    return accepted;
}

}  // namespace tessera
