// CCOM: the protocol engine over the serial port. Callers post a status to the
// display transfer thread and block for the acknowledgement; the receive worker
// parses answers and posts the answering status; the display thread releases
// the caller.
#pragma once

#include <atomic>
#include <memory>

#include "RS232/rs_232.h"
#include "platform/event.h"
#include "protocol/display_status.h"
#include "protocol/frame.h"
#include "protocol/protocol_device.h"

namespace velumi {

class CComDisplayThread;
struct Work;

// Marks the calling thread as one of the SDK's own workers for its lifetime:
// calls made from there (the application's callbacks) must not wait for the pad.
class SdkThreadScope {
public:
    SdkThreadScope();
    ~SdkThreadScope();
    SdkThreadScope(const SdkThreadScope &) = delete;
    SdkThreadScope &operator=(const SdkThreadScope &) = delete;

private:
    bool outer_;
};
bool OnSdkThread();

class CCOM : public CRS232, private FrameHandler {
public:
    static CCOM &Instance();

    CCOM();
    ~CCOM() override;

    void OnReceiveData(const uint8_t *bytes, int count) override;
    void OnNotify() override;
    int Open() override;
    int Close() override;

    void SetDevice(ProtocolDevice *device) { device_ = device; }
    ProtocolDevice *Device() const { return device_; }

    // Caller side.
    int COMInit(int port);
    // Same as COMInit, with a port name or tty path instead of a number.
    int COMInitPath(const std::string &portName);
    int COMDeinit();
    int RequestFirmwareVersion();
    int RequestHardwareVersion();
    int RequestDeviceName();
    // Sends the device object's current job; the transfer works on a copy of it.
    int RequestDisplay();
    int WaitForAck();
    // A display transfer is reserved from the creation of its job until it ends.
    bool IsDisplayBusy();
    bool ReserveDisplay();
    void ReleaseDisplay();
    int DisplayStatus();
    int PreviousDisplayStatus();

    // Display-thread side.
    int SendFirmwareVersionQuery();
    int SendHardwareVersionQuery();
    int SendDeviceNameQuery();
    int COMReqDispLine(const DisplayJob &job);
    int SendRequest(int awaited);
    void SignalAck(int code);
    void FailTransfer(int code);
    void SetDisplayStatus(int status);

    // Device-object side.
    int COMReqDispLineByKey(int key);

    CComDisplayThread *DisplayThread() { return displayThread_.get(); }

    // Facts from the pad's answers.
    std::string FirmwareVersion();
    int HardwareVersion();
    std::string DeviceName();
    // Replaces the stored device name (a model chosen by index).
    void SetDeviceNameText(const char *name);

private:
    // FrameHandler: the effects of received frames (receive worker).
    void OnFirmwareVersion(const char (&version)[9]) override;
    void OnHardwareVersion(uint8_t version) override;
    void OnDeviceName(const char (&name)[11]) override;
    void OnDisplayLineAccepted() override;
    void OnDisplayLineShown() override;
    void OnDisplayLineRefused() override;
    void OnEventKey(uint8_t keyCode) override;
    void OnKey(int value) override;

    int StartLink();
    int PostAndWait(Work work);
    void PostAnswer(velumi::DisplayStatus status, bool refused = false);
    void ReceiveFeed(const uint8_t *bytes, int count);

    ProtocolDevice *device_ = nullptr;
    // Receive side: touched only by the receive worker (and COMInit before it starts).
    uint8_t receiveBuffer_[kFrameBufferSize] = {};
    int receiveCount_ = 0;
    // Send side: touched only by the display thread (and COMInit before it starts).
    uint8_t sendBuffer_[kFrameBufferSize] = {};
    int sendLength_ = 0;

    std::unique_ptr<platform::Event> ackEvent_;  // auto-reset
    // Guarded by the shared lock.
    int waiting_ = 0;
    uint32_t waitingTicket_ = 0;  // the request whose acknowledgement is awaited
    uint32_t lastTicket_ = 0;
    int ackResult_ = 0;
    bool displayReserved_ = false;
    velumi::DisplayStatus status_ = E_NUBRA_STATUS_NONE;
    velumi::DisplayStatus previousStatus_ = E_NUBRA_STATUS_NONE;
    // Number of the last request written; answers carry the number current when they arrived.
    std::atomic<uint64_t> sendSeq_{0};
    char firmwareVersion_[9] = {};
    int hardwareVersion_ = -1;
    char deviceName_[11] = {};

    std::unique_ptr<CComDisplayThread> displayThread_;
};

}  // namespace velumi
