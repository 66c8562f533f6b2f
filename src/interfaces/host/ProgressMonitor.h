#pragma once
#include <string>

namespace tessera::host {

// The host's progress monitor. Every operation may do nothing.
class ProgressMonitor {
public:
    virtual ~ProgressMonitor() = default;
    virtual void BeginOperation() {}
    virtual void EndOperation() {}
    virtual void SetDuration(int /*steps*/) {}
    virtual void SetValue(int /*step*/) {}
    virtual void SetText(const std::string& /*text*/) {}
    // While outputs are written: how many of them are done.
    virtual void SetOutputs(int /*written*/, int /*outputs*/) {}
    // The user asked to stop; long work stops at its next safe point.
    virtual bool CancelRequested() { return false; }
};

}  // namespace tessera::host
