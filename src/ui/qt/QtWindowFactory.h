#pragma once
// The windows of Qt Widgets, as the windows module hands them to the shell.
#include <functional>

#include "ui/WindowFactory.h"

namespace tessera {

class QtDialogView;

class QtWindowFactory : public WindowFactory {
public:
    // `driver`, in a test, drives every window instead of a user (QtDialogView::Driver).
    explicit QtWindowFactory(std::function<void(QtDialogView&)> driver = {}) : driver_(std::move(driver)) {}
    bool RunModal(Dialog& dialog) override;
    bool SaveImage(Dialog& dialog, const std::string& path) override;

private:
    std::function<void(QtDialogView&)> driver_;
};

}  // namespace tessera
