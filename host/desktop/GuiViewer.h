#pragma once
// The viewer of a desktop run: alerts in Qt message boxes, progress in a Qt
// progress dialog; menus and documents as on the command line.
#include <string>
#include <vector>

#include "desktop/GuiProgress.h"
#include "viewer/ConsoleViewer.h"

namespace tessera::app {

class GuiViewer : public ConsoleViewer {
public:
    void Alert(const std::string& text) override;
    void AlertReport(const std::string& text) override;
    // Counted as on the command line, but shown with the next message (the
    // run's closing one) rather than a box each, which would stop the run.
    void AlertWarning(const std::string& text) override;
    // Shown with the closing message too, and not counted.
    void AlertNote(const std::string& text) override { heldWarnings_.push_back(text); }
    host::ProgressMonitor& DocumentProgressMonitor() override { return progress_; }

private:
    void Show(const std::string& text, bool report);

    GuiProgress progress_;
    std::vector<std::string> heldWarnings_;
    bool holding_ = false;
};

}  // namespace tessera::app
