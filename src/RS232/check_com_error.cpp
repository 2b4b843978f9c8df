#include "RS232/check_com_error.h"
#include "RS232/rs_232.h"

namespace velumi {

bool CCheckCOMError::Start() {
    return thread_.Start(
        [this](platform::Event &stop) {
            while (!stop.Wait(100)) port_->CheckReceiveTimeout();
        },
        platform::Priority::BelowNormal);
}

}  // namespace velumi
