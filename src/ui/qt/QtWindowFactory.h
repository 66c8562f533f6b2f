#pragma once
// The windows of Qt Widgets, as the module hands them to the shell.
#include "ui/WindowFactory.h"

namespace tessera {

class QtWindowFactory : public WindowFactory {
public:
    std::unique_ptr<SplitDialog> NewSplitWindow(DialogMemory& memory) override;
    bool RunModal(Dialog& dialog) override;
};

}  // namespace tessera
