// Display status: the small state machine that the display transfer thread drives.
#pragma once

#include "api/error_codes.h"

namespace velumi {

enum DisplayStatus : int {
    E_NUBRA_STATUS_NONE = 0,
    E_NUBRA_STATUS_VER_REQ = 1,
    E_NUBRA_STATUS_VER_RSP = 2,
    E_NUBRA_STATUS_HW_VER_REQ = 3,
    E_NUBRA_STATUS_HW_VER_RSP = 4,
    E_NUBRA_STATUS_DEVICE_NAME_REQ = 5,
    E_NUBRA_STATUS_DEVICE_NAME_RSP = 6,
    E_NUBRA_STATUS_USER_REQ = 7,
    E_NUBRA_STATUS_KEY_REQ_PREV = 8,
    E_NUBRA_STATUS_KEY_REQ_NEXT = 9,
    E_NUBRA_STATUS_RSP = 10,
    E_NUBRA_STATUS_NOTI = 11,
};

const char *DisplayStatusName(int status);

// Awaited code of the display-line notice in the pending response.
constexpr int kAwaitNotice = 11;

}  // namespace velumi
