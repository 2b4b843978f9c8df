// A worker thread that serves an open port until its stop event is set. The
// port stops and joins a worker before deleting it.
#pragma once

#include "platform/thread.h"

namespace velumi {

class CRS232;

class PortWorker {
public:
    PortWorker(CRS232 *port, platform::Priority priority) : port_(port), priority_(priority) {}
    virtual ~PortWorker() = default;
    bool Start() {
        return thread_.Start([this](platform::Event &stop) { Run(stop); }, priority_);
    }
    void RequestStop() { thread_.RequestStop(); }
    bool Running() const { return thread_.Running(); }
    bool Join(bool wait) { return thread_.Join(wait); }

protected:
    virtual void Run(platform::Event &stop) = 0;
    CRS232 *port_;

private:
    platform::Priority priority_;
    platform::WorkerThread thread_;
};

}  // namespace velumi
