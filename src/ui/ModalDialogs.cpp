#include "ui/ModalDialogs.h"

namespace tessera {
namespace {
ModalRunner g_runner = nullptr;
}  // namespace

void SetModalRunner(ModalRunner runner) { g_runner = runner; }

bool RunModalDialog(Dialog& dialog) { return g_runner != nullptr && g_runner(dialog); }

}  // namespace tessera
