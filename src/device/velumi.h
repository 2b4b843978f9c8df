// CVelumi: the one device object behind the exported functions. It opens and
// closes the link, binds the translators, selects the model, keeps the device
// facts and owns the display job list.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "api/error_codes.h"
#include "device/catalog.h"
#include "device/display_job.h"
#include "protocol/protocol_device.h"

namespace velumi {

using KeyCallback = void (*)(int key);
using DisplayCallback = void (*)();
using TextCallback = void (*)(const char *text);

// Library-wide state that outlives the device object.
struct LibraryState {
    std::atomic<int> currentModel{kDefaultModel};
    std::atomic<KeyCallback> keyCallback{nullptr};
    std::atomic<DisplayCallback> displayCallback{nullptr};
    std::atomic<TextCallback> firmwareCallback{nullptr};
    std::atomic<TextCallback> deviceNameCallback{nullptr};
    // Guarded by the shared lock.
    std::vector<uint8_t> lastShown;  // the last completed picture, or empty
    bool sendAllLines = false;
    std::unique_ptr<DisplayJob> savedBraille;
};
LibraryState &Library();
const ModelEntry &CurrentModel();

class CVelumi : public ProtocolDevice {
public:
    // The device object, created on first use; null when it cannot be created.
    static CVelumi *Get();
    // Destroys the device object (after a successful de-init).
    static void Destroy();

    CVelumi();
    ~CVelumi() override;

    int Init(int port, int deviceType);
    // Init on a port name or tty path instead of a number (tools and tests).
    int InitPath(const std::string &portName, int deviceType);
    int DeInit();
    void SetDeviceTypeIndex(int index);
    int GetFWVersion(TextCallback callback);
    int GetDeviceName(TextCallback callback);
    int GetDisplayInfo(int *cellsPerLine, int *lines, int *brailleCells);

    // Graphics.
    DisplayJob *DisplayDataCreate();
    int Display(const char *path);
    int DisplayData(const unsigned char *data, int length, int sendAllLines);
    int DisplayPart(const unsigned char *data, int length, int offset);
    int ResetDisplay();
    int FirstLine(const DisplayJob &job, int length, int offset);

    // Braille line.
    int BrailleDisplay(const char16_t *text, int language);
    static int SetBrailleLanguage(int language, int option);
    int BrailleASCIIDisplay(const char *text);
    int ResetBrailleDisplay();

    bool Initialised() const { return initialised_; }
    bool Ready() const { return ready_; }
    int DumpRowWidth() const { return dumpRowWidth_; }

    // ProtocolDevice.
    DisplayJob *CurrentJob() override;
    DisplayJob *NewestJob() override;
    bool HasJobs() override;
    bool RestoreSavedBraille(DisplayJob &job) override;
    void SaveBraille(const DisplayJob &job) override;
    int RetryCount() override { return retryCount_; }
    int RetryDelayMs() override { return retryDelayMs_; }
    int BrailleCells() override;
    int NextLine(DisplayJob &job) override;
    void RecordLastShown(const DisplayJob &job) override;
    void SendDispCompletedMessage(int code) override;
    void SetDeviceType(const char *deviceName) override;
    int SendKey(int key) override;
    void FirmwareVersionReceived(const char *version) override;
    void HardwareVersionReceived(int version) override;
    void DeviceNameReceived(const char *name) override;
    void KeyReceived(int key) override;
    void DisplayDone() override;

private:
    int InitWith(int portResult);
    int StartDisplay(DisplayJob &job, const char *logName, int length, int offset);
    void DumpPicture(const DisplayJob &job);

    std::atomic<int> initialised_{0};
    std::atomic<int> ready_{0};
    std::atomic<int> dumpRowWidth_{0};
    int retryCount_ = 0;
    int retryDelayMs_ = 0;
    std::vector<std::unique_ptr<DisplayJob>> jobs_;  // guarded by the shared lock
    int lastError_ = 0;
};

}  // namespace velumi
