// Runs the body of an exported function so that no exception crosses the
// library boundary: an allocation failure returns the memory error, anything
// else `otherFailure`.
#pragma once

#include <new>

#include "VelumiSDK.h"

namespace velumi::api {

template <typename F>
int Guarded(int otherFailure, F &&body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc &) {
        return VELUMI_ERROR_ACCESS_INVALID_MEM;
    } catch (...) {
        return otherFailure;
    }
}

}  // namespace velumi::api
