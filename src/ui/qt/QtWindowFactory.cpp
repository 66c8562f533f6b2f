#include "ui/qt/QtWindowFactory.h"

#include "ui/qt/QtDialogView.h"

namespace tessera {

bool QtWindowFactory::RunModal(Dialog& dialog) {
    QtDialogView view(dialog, nullptr, driver_);
    return view.Run();
}

bool QtWindowFactory::SaveImage(Dialog& dialog, const std::string& path) {
    QtDialogView view(dialog, nullptr, driver_);
    return view.SaveImage(path);
}

}  // namespace tessera
