// The receive worker of an open port.
#pragma once

#include "RS232/port_worker.h"

namespace velumi {

// Waits for port events and pulls every received byte through ReceiveData,
// so the protocol runs on this thread. Highest priority.
class CReadCOM : public PortWorker {
public:
    explicit CReadCOM(CRS232 *port) : PortWorker(port, platform::Priority::Highest) {}

protected:
    void Run(platform::Event &stop) override;
};

}  // namespace velumi
