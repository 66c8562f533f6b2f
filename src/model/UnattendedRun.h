#pragma once
// The batch-sequence command and the unattended run at start-up.

namespace tessera {

// The start-up notification handler: runs the sequence file that the
// environment variable "TESSERA" names, then closes the host.
void UnattendedSequenceRun(void* clientData);

// Installs and removes the "Split Document" batch command.
void InstallBatchCommand();
void RemoveBatchCommand();

}  // namespace tessera
