// Display status: the small state machine that the display transfer thread drives.
#pragma once

#include "api/error_codes.h"

namespace velumi {

// The statuses in value order (0, 1, ...); the trace names them as written.
// clang-format off
#define VELUMI_DISPLAY_STATUS_LIST(X) \
    X(E_NUBRA_STATUS_NONE) \
    X(E_NUBRA_STATUS_VER_REQ) \
    X(E_NUBRA_STATUS_VER_RSP) \
    X(E_NUBRA_STATUS_HW_VER_REQ) \
    X(E_NUBRA_STATUS_HW_VER_RSP) \
    X(E_NUBRA_STATUS_DEVICE_NAME_REQ) \
    X(E_NUBRA_STATUS_DEVICE_NAME_RSP) \
    X(E_NUBRA_STATUS_USER_REQ) \
    X(E_NUBRA_STATUS_KEY_REQ_PREV) \
    X(E_NUBRA_STATUS_KEY_REQ_NEXT) \
    X(E_NUBRA_STATUS_RSP) \
    X(E_NUBRA_STATUS_NOTI)
// clang-format on

#define VELUMI_DISPLAY_STATUS_ENUMERATOR(name) name,
enum DisplayStatus : int { VELUMI_DISPLAY_STATUS_LIST(VELUMI_DISPLAY_STATUS_ENUMERATOR) };
#undef VELUMI_DISPLAY_STATUS_ENUMERATOR
static_assert(E_NUBRA_STATUS_NOTI == 11, "the statuses keep their values 0 to 11");

const char *DisplayStatusName(int status);

// Awaited code of the display-line notice in the pending response.
constexpr int kAwaitNotice = 11;

}  // namespace velumi
