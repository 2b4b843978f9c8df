#include "RS232/read_com.h"

#include "RS232/rs_232.h"

namespace velumi {

void CReadCOM::Run(platform::Event &stop) {
    while (!stop.Wait(0)) port_->WaitForPortEvent();
}

}  // namespace velumi
