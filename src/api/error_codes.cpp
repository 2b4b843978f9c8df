// The error list as a table, its ties to the public header, and the trace helper.
#include "api/error_codes.h"

#include <cstring>

#include "Log/nubra_log.h"
#include "VelumiSDK.h"

namespace velumi {

namespace {
#define VELUMI_ERROR_ROW(Id, TRACE, value, PUBLIC, text) {value, "NUBRA_ERROR_" #TRACE, #PUBLIC, text},
constexpr ErrorEntry kErrors[] = {VELUMI_ERROR_LIST(VELUMI_ERROR_ROW)};
#undef VELUMI_ERROR_ROW

#define VELUMI_ERROR_TIE(Id, TRACE, value, PUBLIC, text)                      \
    static_assert(PUBLIC == (value), #PUBLIC " differs from the error list"); \
    static_assert(kErrors[static_cast<int>(Error::Id)].code == PUBLIC, "row order of " #Id);
VELUMI_ERROR_LIST(VELUMI_ERROR_TIE)
#undef VELUMI_ERROR_TIE
}  // namespace

const ErrorEntry &ErrorInfo(Error error) { return kErrors[static_cast<int>(error)]; }

const ErrorEntry *ErrorByCode(int code) {
    for (const ErrorEntry &e : kErrors)
        if (e.code == code) return &e;
    return nullptr;
}

int Fail(Error error, const char *where, const char *detail) {
    const ErrorEntry &e = ErrorInfo(error);
    if (detail) NubraLog("[ERROR] %s in %s() - %s", e.traceName, where, detail);
    else NubraLog("[ERROR] %s in %s()", e.traceName, where);
    return e.code;
}

int FailErrno(Error error, const char *where, int errnoValue) { return Fail(error, where, std::strerror(errnoValue)); }

}  // namespace velumi
