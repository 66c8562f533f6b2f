#pragma once
// The unattended run at start-up.

namespace tessera {

// The start-up notification handler: runs the sequence file that the
// environment variable "TESSERA" names, then closes the host. A file that
// cannot be read leaves the host running as it was.
void UnattendedSequenceRun(void* clientData);

}  // namespace tessera
