#include "RS232/read_com.h"

#include "RS232/rs_232.h"

namespace velumi {

bool CReadCOM::Start() {
    return thread_.Start(
        [this](platform::Event &stop) {
            while (!stop.Wait(0)) port_->WaitForPortEvent();
        },
        platform::Priority::Highest);
}

}  // namespace velumi
