#pragma once
// The windows of Qt Widgets, as the module hands them to the shell.
#include <functional>

#include "ui/WindowFactory.h"

namespace tessera {

class QtDialogView;

class QtWindowFactory : public WindowFactory {
public:
    // `driver`, in a test, drives every window instead of a user (QtDialogView::Driver).
    explicit QtWindowFactory(std::function<void(QtDialogView&)> driver = {}) : driver_(std::move(driver)) {}
    std::unique_ptr<SplitDialog> NewSplitWindow(DialogMemory& memory) override;
    bool RunModal(Dialog& dialog) override;

private:
    std::function<void(QtDialogView&)> driver_;
};

}  // namespace tessera
