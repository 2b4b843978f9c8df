#include "RS232/check_com_error.h"

#include "RS232/rs_232.h"

namespace velumi {

void CCheckCOMError::Run(platform::Event &stop) {
    while (!stop.Wait(100)) port_->CheckReceiveTimeout();
}

}  // namespace velumi
