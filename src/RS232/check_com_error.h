// The receive-timeout worker of an open port.
#pragma once

#include "platform/thread.h"

namespace velumi {

class CRS232;

// Calls the port's receive-wait time-out check ten times a second. Below normal priority.
class CCheckCOMError {
public:
    explicit CCheckCOMError(CRS232 *port) : port_(port) {}
    bool Start();
    void RequestStop() { thread_.RequestStop(); }
    bool Running() const { return thread_.Running(); }
    bool Join(bool wait) { return thread_.Join(wait); }

private:
    CRS232 *port_;
    platform::WorkerThread thread_;
};

}  // namespace velumi
