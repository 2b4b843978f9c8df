#include "device/velumi.h"

#include <cstring>
#include <mutex>
#include <new>

#include "Log/nubra_log.h"
#include "Log/nubra_trace.h"
#include "braille/kotari_bridge.h"
#include "braille/louis_bridge.h"
#include "platform/clock.h"
#include "platform/shared_lock.h"
#include "protocol/ccom.h"

namespace velumi {

namespace {
std::atomic<CVelumi *> g_device{nullptr};
constexpr int kAskThePad = 8;
constexpr int kBrailleSettleMs = 200;

// A text the pad already reported goes straight to `callback` (logged with
// what it is and the caller's name); otherwise the pad is asked with `request`.
int KnownOrAsked(const std::string &known, TextCallback callback, int (CCOM::*request)(), const char *what,
    const char *function) {
    if (known.empty()) return (CCOM::Instance().*request)();
    NubraLog("[OK] VELUMI %s EXIST in %s()", what, function);
    if (callback) callback(known.c_str());
    return 0;
}
}  // namespace

LibraryState &Library() {
    static LibraryState *state = new LibraryState;
    return *state;
}

const ModelEntry &CurrentModel() {
    const ModelEntry *m = ModelByIndex(Library().currentModel.load());
    return m ? *m : kModels[kDefaultModel];
}

CVelumi *CVelumi::Get() {
    CVelumi *device = g_device.load();
    if (device) return device;
    static std::mutex creation;
    std::lock_guard<std::mutex> guard(creation);
    device = g_device.load();
    if (!device) g_device = device = new (std::nothrow) CVelumi;
    return device;
}

void CVelumi::Destroy() { delete g_device.exchange(nullptr); }

CVelumi::CVelumi() {
    platform::SharedLock::Get();  // the shared lock exists from the device object's creation on
    g_traceOn = true;
    CCOM::Instance().SetDevice(this);
}

CVelumi::~CVelumi() {
    DeInit();
    if (CCOM::Instance().Device() == this) CCOM::Instance().SetDevice(nullptr);
}

int CVelumi::Init(int port, int deviceType) {
    // Refused before the trace, the translators or any file is opened.
    if (!ValidPortNumber(port)) {
        NubraLog("[ERROR] NUBRA_ERROR_COM_OPEN_FAIL in %s() - port %d is not %d-%d", "CVelumi::Init", port,
            kMinPortNumber, kMaxPortNumber);
        return NUBRA_ERROR_COM_OPEN_FAIL;
    }
    char name[24];
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", port);
    return InitPath(name, deviceType);
}

int CVelumi::InitPath(const std::string &portName, int deviceType) {
    if (initialised_) {
        NubraLog("[ERROR] NUBRA_ERROR_VELUMI_ALREADY_INIT in %s()", "CVelumi::Init");
        return NUBRA_ERROR_VELUMI_ALREADY_INIT;
    }
    if (deviceType < 0 || deviceType > kAskThePad) {
        NubraLog("[ERROR] NUBRA_ERROR_INVALID_DEVICE_TYPE in %s() - %d", "CVelumi::Init", deviceType);
        return NUBRA_ERROR_INVALID_DEVICE_TYPE;
    }
    g_traceOn = true;
    TraceStart();
    NubraLog("%s", "");
    const int width = CurrentModel().brailleCells;
    const int bound = LoadKotariLibrary(width, ENGLISH);
    if (bound != 0) return bound;
    LoadLiblouisLibrary(width, ENGLISH);
    // Binding fills in the defaults: the application's own choices come back.
    std::vector<std::pair<int, int>> settings;
    {
        platform::SharedLockGuard lock;
        settings = Library().languageSettings;
    }
    for (const auto &s : settings) SetBrailleLanguage(s.first, s.second);
    {
        // A new link vouches for no pin: the clearing below reaches every line.
        platform::SharedLockGuard lock;
        Library().lineKnown.clear();
    }

    CCOM &com = CCOM::Instance();
    com.SetDevice(this);
    const int result = com.COMInitPath(portName);
    if (result == 0) {
        initialised_ = ready_ = 1;
        NubraLog("[OK] %s() success", "CVelumi::Init");
    } else {
        NubraLog("[ERROR] %s() failed - 0x%x", "CVelumi::Init", result);
    }
    if (deviceType == kAskThePad) com.RequestDeviceName();
    else SetDeviceTypeIndex(deviceType);
    // The engine wraps for the braille line of the model just selected.
    KotariSetLineCells(CurrentModel().brailleCells);
    if (CurrentModel().brailleCells != 0) {
        ResetBrailleDisplay();
        platform::SleepMs(platform::Scaled(kBrailleSettleMs));
    }
    ResetDisplay();
    return result;
}

int CVelumi::DeInit() {
    if (OnSdkThread()) {
        // The workers to be stopped include the one running the caller's callback.
        NubraLog("[ERROR] NUBRA_ERROR_DISPLAY_IN_PROGRESS in %s - called from a callback", "CVelumi::DeInit");
        return NUBRA_ERROR_DISPLAY_IN_PROGRESS;
    }
    if (!initialised_) return NUBRA_ERROR_VELUMI_NOT_INIT;
    CCOM &com = CCOM::Instance();
    if (com.IsDisplayBusy()) {
        NubraLog("[ERROR] NUBRA_ERROR_DISPLAY_IN_PROGRESS in %s", "CVelumi::DeInit");
        return NUBRA_ERROR_DISPLAY_IN_PROGRESS;
    }
    // Not under the shared lock: the workers being stopped may need it to finish.
    com.COMDeinit();
    FreeKotariLibrary();
    FreeLouisLibrary();
    {
        platform::SharedLockGuard lock;
        jobs_.clear();
        Library().savedBraille.reset();  // the last braille line's copy goes with the link
    }
    NubraLog("[OK] %s() successed", "CVelumi::DeInit");
    initialised_ = ready_ = 0;
    return 0;
}

void CVelumi::SetDeviceTypeIndex(int index) {
    const ModelEntry *m = ModelByIndex(index);
    if (!m) return;
    // The whole name is replaced, so a longer earlier name leaves no tail behind.
    CCOM::Instance().SetDeviceNameText(std::string(m->name).c_str());
    Library().currentModel = index;
    NubraLog("[OK] Set Velumi type => %.*s", static_cast<int>(m->enumText.size()), m->enumText.data());
}

bool CVelumi::NameSelectsModel(const char *deviceName) {
    const std::string name = deviceName ? deviceName : "";
    for (int i = 0; i < kModelCount; ++i)
        if (name.find(kModels[i].name) != std::string::npos) return true;
    return false;
}

void CVelumi::SetDeviceType(const char *deviceName) {
    int chosen = kDefaultModel;
    const std::string name = deviceName ? deviceName : "";
    for (int i = 0; i < kModelCount; ++i)
        if (name.find(kModels[i].name) != std::string::npos) chosen = i;
    Library().currentModel = chosen;
    KotariSetLineCells(kModels[chosen].brailleCells);
    NubraLog("[OK] Set Velumi type => %.*s", static_cast<int>(kModels[chosen].enumText.size()),
        kModels[chosen].enumText.data());
}

int CVelumi::GetFWVersion(TextCallback callback) {
    Library().firmwareCallback = callback;
    return KnownOrAsked(CCOM::Instance().FirmwareVersion(), callback, &CCOM::RequestFirmwareVersion,
        "FIRMWARE VERSION", "CVelumi::GetFWVersion");
}

int CVelumi::GetDeviceName(TextCallback callback) {
    Library().deviceNameCallback = callback;
    return KnownOrAsked(CCOM::Instance().DeviceName(), callback, &CCOM::RequestDeviceName, "DEVICE NAME",
        "CVelumi::GetDeviceName");
}

int CVelumi::GetDisplayInfo(int *cellsPerLine, int *lines, int *brailleCells) {
    if (!initialised_) return NUBRA_ERROR_VELUMI_NOT_INIT;
    const ModelEntry &m = CurrentModel();
    if (cellsPerLine) *cellsPerLine = m.cellsPerLine;
    if (lines) *lines = m.lines;
    if (brailleCells) *brailleCells = m.brailleCells;
    return 0;
}

void CVelumi::SendDispCompletedMessage(int) {
    NubraLog("[ERROR] Main handle is NULL in %s", "CVelumi::SendDispCompletedMessage");
}

DisplayJob *CVelumi::CurrentJob() {
    platform::SharedLockGuard lock;
    return jobs_.empty() ? nullptr : jobs_.front().get();
}

bool CVelumi::HasJobs() {
    platform::SharedLockGuard lock;
    return !jobs_.empty();
}

bool CVelumi::RestoreSavedBraille(DisplayJob &job) {
    platform::SharedLockGuard lock;
    if (!Library().savedBraille) return false;
    job = *Library().savedBraille;
    return true;
}

void CVelumi::SaveBraille(const DisplayJob &job) {
    platform::SharedLockGuard lock;
    if (!Library().savedBraille) Library().savedBraille = std::make_unique<DisplayJob>();
    *Library().savedBraille = job;
}

int CVelumi::BrailleCells() { return CurrentModel().brailleCells; }

void CVelumi::FirmwareVersionReceived(const char *version) {
    if (TextCallback cb = Library().firmwareCallback.load()) cb(version);
}

void CVelumi::HardwareVersionReceived(int) {}

void CVelumi::DeviceNameReceived(const char *name) {
    if (TextCallback cb = Library().deviceNameCallback.load()) cb(name);
}

void CVelumi::KeyReceived(int key) {
    if (KeyCallback cb = Library().keyCallback.load()) cb(key);
}

void CVelumi::DisplayDone() {
    if (DisplayCallback cb = Library().displayCallback.load()) cb();
}

}  // namespace velumi
