#pragma once
// The viewer of a desktop run: alerts in Qt message boxes, progress in a Qt
// progress dialog; menus and documents as on the command line.
#include "app/ConsoleViewer.h"
#include "app/GuiProgress.h"

namespace tessera::app {

class GuiViewer : public ConsoleViewer {
public:
    void Alert(const std::string& text) override;
    void AlertReport(const std::string& text) override { Alert(text); }
    host::ProgressMonitor& DocumentProgressMonitor() override { return progress_; }

private:
    GuiProgress progress_;
};

}  // namespace tessera::app
