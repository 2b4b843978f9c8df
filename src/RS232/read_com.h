// The receive worker of an open port.
#pragma once

#include "platform/thread.h"

namespace velumi {

class CRS232;

// Waits for port events and pulls every received byte through ReceiveData,
// so the protocol runs on this thread. Highest priority.
class CReadCOM {
public:
    explicit CReadCOM(CRS232 *port) : port_(port) {}
    bool Start();
    void RequestStop() { thread_.RequestStop(); }
    bool Running() const { return thread_.Running(); }
    bool Join(bool wait) { return thread_.Join(wait); }

private:
    CRS232 *port_;
    platform::WorkerThread thread_;
};

}  // namespace velumi
