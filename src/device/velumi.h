// CVelumi: the one device object behind the exported functions. It opens and
// closes the link, binds the translators, selects the model, keeps the device
// facts and owns the display job list.
#pragma once

#include <atomic>
#include <functional>
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
    // What the pad is known to show on its graphics area, line by line: a line
    // counts only once the pad confirmed it; lineKnown false = to be sent again.
    std::vector<uint8_t> lastShown;
    std::vector<bool> lineKnown;
    bool sendAllLines = false;
    std::unique_ptr<DisplayJob> savedBraille;
    // Every VELUMI_SET_BRAILLE_LANGUAGE (language, option), latest per language,
    // in the order given; replayed after the translators are bound at init.
    std::vector<std::pair<int, int>> languageSettings;
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
    // The first line from `from` on that differs from what the pad is known to
    // show, or whose pins are unknown; the job's line count when none.
    int ChangedLineFrom(const DisplayJob &job, int from);

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
    bool HasJobs() override;
    bool RestoreSavedBraille(DisplayJob &job) override;
    void SaveBraille(const DisplayJob &job) override;
    int RetryCount() override { return retryCount_; }
    int RetryDelayMs() override { return retryDelayMs_; }
    int BrailleCells() override;
    int NextLine(DisplayJob &job) override;
    void LineShown(const DisplayJob &job, int line) override;
    void LineUnknown(int line) override;
    void RecordLastShown(const DisplayJob &job) override;
    void SendDispCompletedMessage(int code) override;
    bool NameSelectsModel(const char *deviceName) override;
    void SetDeviceType(const char *deviceName) override;
    int SendKey(int key) override;
    void FirmwareVersionReceived(const char *version) override;
    void HardwareVersionReceived(int version) override;
    void DeviceNameReceived(const char *name) override;
    void KeyReceived(int key) override;
    void DisplayDone() override;

private:
    // The prologue of every display operation: the device must be open, the
    // operation's own checks (a nonzero code ends it) must pass, the call must
    // not come from a callback, and a new job of `kind` reserves the display.
    // Null with `result` set when the operation ends here.
    DisplayJob *BeginJob(const char *logName, JobKind kind, int &result, const std::function<int()> &checks = {});
    // Ends an operation whose job will not be sent: frees the display.
    int Abandon(int code);
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
