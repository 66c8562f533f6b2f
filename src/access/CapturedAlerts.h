#pragma once
// While one lives, what the plug-in would tell the user in message boxes is
// kept in it instead, and its progress is not shown: for work the user did
// not start as such (the settings window's plan, made again at every
// change), whose messages and progress have a place of their own. A host's
// progress window stays up until a message ends the run it belongs to, and
// its Cancel would stay pressed for the next run. Everything else goes on to
// the host's viewer.
#include <string>
#include <vector>

#include "host/HostServices.h"
#include "host/ViewerServices.h"

namespace tessera {

class CapturedAlerts : public host::ViewerServices {
public:
    CapturedAlerts();
    ~CapturedAlerts() override;
    CapturedAlerts(const CapturedAlerts&) = delete;
    CapturedAlerts& operator=(const CapturedAlerts&) = delete;

    // Failures and refusals, then warnings, each in the order given.
    const std::vector<std::string>& Errors() const { return errors_; }
    const std::vector<std::string>& Warnings() const { return warnings_; }

    host::ViewerVersion Version() override { return inner_.Version(); }
    host::DocId ActiveDocument() override { return inner_.ActiveDocument(); }
    void Alert(const std::string& text) override { errors_.push_back(text); }
    void AlertReport(const std::string&) override {}
    void AlertWarning(const std::string& text) override { warnings_.push_back(text); }
    void AlertNote(const std::string&) override {}
    host::ProgressMonitor& DocumentProgressMonitor() override { return quiet_; }
    bool HasMenu(const std::string& menu) override { return inner_.HasMenu(menu); }
    host::MenuItemId NewMenuItem(const std::string& title, const std::string& name, host::ExtensionId owner) override {
        return inner_.NewMenuItem(title, name, owner);
    }
    void SetExecuteProcedure(host::MenuItemId item, host::MenuProcedure procedure, void* data) override {
        inner_.SetExecuteProcedure(item, procedure, data);
    }
    void SetComputeEnabledProcedure(host::MenuItemId item, host::EnableProcedure procedure, void* data) override {
        inner_.SetComputeEnabledProcedure(item, procedure, data);
    }
    void AddMenuItem(const std::string& menu, host::MenuItemId item, int position) override {
        inner_.AddMenuItem(menu, item, position);
    }
    void RegisterNotification(int number, host::ExtensionId owner, host::NotificationProcedure procedure,
                              void* data) override {
        inner_.RegisterNotification(number, owner, procedure, data);
    }

private:
    host::HostServices before_;
    host::ViewerServices& inner_;
    std::vector<std::string> errors_, warnings_;
    host::ProgressMonitor quiet_;
};

}  // namespace tessera
