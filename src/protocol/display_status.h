// Display status: the small state machine that the display transfer thread drives.
#pragma once

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

// Error codes of the protocol layer.
enum : int {
    NUBRA_ERROR_COM_OPEN_FAIL = 16,
    NUBRA_ERROR_COM_HANDLE_INIT_ERROR = 17,
    NUBRA_ERROR_COM_PORT_ALREADY_OPENED = 18,
    NUBRA_ERROR_COM_WRITE_FAIL = 32,
    NUBRA_ERROR_COM_INVALID_DATA = 33,
    NUBRA_ERROR_COM_NOT_RESPONSE = 34,
    NUBRA_ERROR_COM_RESPONSE_TIMEOUT = 35,
    NUBRA_ERROR_BRAILLE_NOT_TRANSLATE = 64,
};

}  // namespace velumi
