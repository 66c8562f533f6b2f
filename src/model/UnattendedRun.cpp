#include "model/UnattendedRun.h"

namespace tessera {

// Batch sequences arrive with the batch work; the handler is registered at
// every start already, so that a sequence named at start-up will run.
void UnattendedSequenceRun(void* /*clientData*/) {}

void InstallBatchCommand() {}

void RemoveBatchCommand() {}

}  // namespace tessera
