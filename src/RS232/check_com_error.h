// The receive-timeout worker of an open port.
#pragma once

#include "RS232/port_worker.h"

namespace velumi {

// Calls the port's receive-wait time-out check ten times a second. Below normal priority.
class CCheckCOMError : public PortWorker {
public:
    explicit CCheckCOMError(CRS232 *port) : PortWorker(port, platform::Priority::BelowNormal) {}

protected:
    void Run(platform::Event &stop) override;
};

}  // namespace velumi
