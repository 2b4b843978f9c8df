// The exported C functions: each forwards to the device object and catches
// everything, so no exception crosses the library boundary.
#include <exception>
#include <mutex>
#include <utility>

#include "VelumiSDK.h"
#include "api/error_codes.h"
#include "api/guarded.h"
#include "device/velumi.h"
#include "protocol/ccom.h"
#include "tgxs/tgxs_reader.h"

using velumi::CVelumi;

namespace {
template <typename F>
int Guarded(F &&body) noexcept {
    return velumi::api::Guarded(VELUMI_ERROR_NOT_INIT, std::forward<F>(body));
}

// Runs an operation on the device object, creating it on first use.
template <typename F>
int OnDevice(F &&operation) noexcept {
    return Guarded([&] {
        CVelumi *device = CVelumi::Get();
        return device ? operation(*device) : VELUMI_ERROR_NOT_INIT;
    });
}
// Init and de-init (with the device object's destruction) run one at a time,
// whatever threads call them.
std::mutex &Lifecycle() {
    static std::mutex *m = new std::mutex;
    return *m;
}

int InitOn(int port, int deviceType) noexcept {
    // Callbacks run only while the SDK is initialised.
    if (velumi::OnSdkThread()) return VELUMI_ERROR_ALREADY_INIT;
    std::lock_guard<std::mutex> lifecycle(Lifecycle());
    return OnDevice([&](CVelumi &d) { return d.Init(port, deviceType); });
}
}  // namespace

extern "C" {

VELUMI_API int VELUMI_INIT(int port) { return InitOn(port, VELUMI_ASK_THE_PAD); }

VELUMI_API int VELUMI_INIT_WITH_DEVICE_TYPE(int port, int deviceType) { return InitOn(port, deviceType); }

VELUMI_API int VELUMI_DEINIT(void) {
    // From a callback the device object refuses at once, without the lock that
    // an init or de-init on another thread may hold while it waits for this thread.
    if (velumi::OnSdkThread()) return OnDevice([](CVelumi &d) { return d.DeInit(); });
    std::lock_guard<std::mutex> lifecycle(Lifecycle());
    return OnDevice([&](CVelumi &d) {
        const int r = d.DeInit();
        if (r == 0) CVelumi::Destroy();
        return r;
    });
}

VELUMI_API int VELUMI_DISPLAY(const char *path) {
    return OnDevice([&](CVelumi &d) { return d.Display(path); });
}

VELUMI_API int VELUMI_DISPLAY_DATA(const unsigned char *data, int length, int sendAllLines) {
    return OnDevice([&](CVelumi &d) { return d.DisplayData(data, length, sendAllLines); });
}

VELUMI_API int VELUMI_DISPLAY_DATA_PART(const unsigned char *data, int length, int offset) {
    return OnDevice([&](CVelumi &d) { return d.DisplayPart(data, length, offset); });
}

VELUMI_API int VELUMI_RESET_DISPLAY(void) {
    return OnDevice([&](CVelumi &d) { return d.ResetDisplay(); });
}

VELUMI_API int VELUMI_BRAILLE_DISPLAY(const velumi_char16 *text, int language) {
    return OnDevice([&](CVelumi &d) { return d.BrailleDisplay(text, language); });
}

VELUMI_API int VELUMI_SET_BRAILLE_LANGUAGE(int language, int option) {
    return Guarded([&] { return CVelumi::SetBrailleLanguage(language, option); });
}

VELUMI_API int VELUMI_BRAILLE_ASCII_DISPLAY(const char *text) {
    return OnDevice([&](CVelumi &d) { return d.BrailleASCIIDisplay(text); });
}

VELUMI_API int VELUMI_RESET_BRAILLE_DISPLAY(void) {
    return OnDevice([&](CVelumi &d) { return d.ResetBrailleDisplay(); });
}

VELUMI_API int VELUMI_SEND_KEY(int key) {
    return OnDevice([&](CVelumi &d) { return d.SendKey(key); });
}

VELUMI_API int VELUMI_GET_FW_VERSION(VELUMI_TEXT_CALLBACK callback) {
    return OnDevice([&](CVelumi &d) { return d.GetFWVersion(callback); });
}

VELUMI_API int VELUMI_GET_DEVICE_NAME(VELUMI_TEXT_CALLBACK callback) {
    return OnDevice([&](CVelumi &d) { return d.GetDeviceName(callback); });
}

VELUMI_API int VELUMI_GET_DISPLAY_INFO(int *cellsPerLine, int *lines, int *brailleCells) {
    return OnDevice([&](CVelumi &d) { return d.GetDisplayInfo(cellsPerLine, lines, brailleCells); });
}

VELUMI_API int VELUMI_REGISTER_KEY_CALLBACK(VELUMI_KEY_CALLBACK callback) {
    velumi::Library().keyCallback = callback;
    return 0;
}

VELUMI_API int VELUMI_REGISTER_DISPLAY_CALLBACK(VELUMI_DISPLAY_CALLBACK callback) {
    velumi::Library().displayCallback = callback;
    return 0;
}

}  // extern "C"

extern "C" VELUMI_API int VELUMI_GET_TGXS_DATA(const char *path) {
    // Needs no device object; the reader catches everything itself.
    return velumi::tgxs::GetTgxsData(path);
}

extern "C" VELUMI_API const char *VELUMI_ERROR_NAME(int code) {
    const velumi::ErrorEntry *e = velumi::ErrorByCode(code);
    return e ? e->publicName : nullptr;
}

extern "C" VELUMI_API const char *VELUMI_ERROR_TEXT(int code) {
    const velumi::ErrorEntry *e = velumi::ErrorByCode(code);
    return e ? e->text : nullptr;
}
