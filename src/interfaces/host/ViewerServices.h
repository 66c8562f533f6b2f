#pragma once
// The viewer around the plug-in ("AcroView"): version, active document,
// alerts, progress, menus and notifications.
#include <cstdint>
#include <string>

#include "host/Handshake.h"
#include "host/HostTypes.h"
#include "host/ProgressMonitor.h"

namespace tessera::host {

struct ViewerVersion {
    short major = 0;
    short minor = 0;
};

using MenuItemId = std::uint32_t;
using MenuProcedure = void (*)(void* clientData);
using EnableProcedure = bool (*)(void* clientData);
using NotificationProcedure = void (*)(void* clientData);

class ViewerServices {
public:
    virtual ~ViewerServices() = default;

    virtual ViewerVersion Version() = 0;
    virtual DocId ActiveDocument() = 0;
    // The host's modal alert: one text, OK only.
    virtual void Alert(const std::string& text) = 0;
    // The account of a split that completed, an alert of its own kind: a
    // host that runs quietly leaves it out, and shows every other alert.
    virtual void AlertReport(const std::string& text) { Alert(text); }
    // Something that went wrong but lost nothing (a page read only in part):
    // shown as any alert, and counted by a host whose runs end "done with warnings".
    virtual void AlertWarning(const std::string& text) { Alert(text); }
    // Something the run says of its work as it goes, needing no answer (a
    // page written over the size limit as allowed): a host that shows boxes
    // gathers these into the run's closing message.
    virtual void AlertNote(const std::string& text) { Alert(text); }
    // The monitor for document work; never null.
    virtual ProgressMonitor& DocumentProgressMonitor() = 0;

    virtual bool HasMenu(const std::string& menu) = 0;
    virtual MenuItemId NewMenuItem(const std::string& title, const std::string& name, ExtensionId owner) = 0;
    virtual void SetExecuteProcedure(MenuItemId item, MenuProcedure procedure, void* clientData) = 0;
    virtual void SetComputeEnabledProcedure(MenuItemId item, EnableProcedure procedure, void* clientData) = 0;
    // Position 9999 puts the item after all others.
    virtual void AddMenuItem(const std::string& menu, MenuItemId item, int position) = 0;
    // Notification 0 is sent once the host's start-up is over.
    virtual void RegisterNotification(int number, ExtensionId owner, NotificationProcedure procedure,
                                      void* clientData) = 0;
};

}  // namespace tessera::host
