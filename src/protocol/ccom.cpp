#include "protocol/ccom.h"

#include <cstdio>
#include <cstring>

#include "Log/nubra_log.h"
#include "device/velumi.h"
#include "platform/clock.h"
#include "platform/shared_lock.h"
#include "protocol/display_thread.h"

namespace velumi {

const char *DisplayStatusName(int status) {
#define VELUMI_DISPLAY_STATUS_NAME(name) #name,
    static const char *const kNames[] = {VELUMI_DISPLAY_STATUS_LIST(VELUMI_DISPLAY_STATUS_NAME)};
#undef VELUMI_DISPLAY_STATUS_NAME
    return status >= 0 && status <= E_NUBRA_STATUS_NOTI ? kNames[status] : "";
}

namespace {
thread_local bool t_sdkThread = false;
constexpr int kAckTimeoutMs = 10000;
constexpr int kSettleMs = 500;
constexpr int kCloseRetryMs = 100;

// Work that carries only a request status.
Work Request(DisplayStatus status) {
    Work w;
    w.status = status;
    return w;
}
}  // namespace

SdkThreadScope::SdkThreadScope() : outer_(t_sdkThread) { t_sdkThread = true; }
SdkThreadScope::~SdkThreadScope() { t_sdkThread = outer_; }
bool OnSdkThread() { return t_sdkThread; }

CCOM &CCOM::Instance() {
    // One protocol object for the process; never destroyed, so no worker can
    // outlive it during exit.
    static CCOM *com = new CCOM;
    return *com;
}

CCOM::CCOM() {
    SetPortName("COM2");
    Settings().baudRate = 57600;
    Settings().dataBits = 8;
    Settings().parity = false;
    Settings().stopBits = 1;
    SetReceiveWaitTimeout(0x7FFFFFFF);
}

CCOM::~CCOM() {
    // The workers call into this object: stop them before it goes away.
    while (IsOpen() && !Close()) platform::SleepMs(5);
    if (displayThread_) displayThread_->Stop(false);
    displayThread_.reset();
}

void CCOM::OnReceiveData(const uint8_t *bytes, int count) {
    SdkThreadScope sdkThread;  // the receive worker runs the key and answer callbacks
    if (!IsClosed()) ReceiveFeed(bytes, count);
}

void CCOM::OnNotify() {}
int CCOM::Open() { return CRS232::Open(); }
int CCOM::Close() { return CRS232::Close(); }

void CCOM::ReceiveFeed(const uint8_t *bytes, int count) {
    if (receiveCount_ >= kFrameBufferSize) return;
    // What does not fit is dropped; the parser resynchronises on the next sync word.
    const int room = kFrameBufferSize - receiveCount_;
    const int take = count < room ? count : room;
    if (take < count) NubraLog("[ERROR] receive buffer full - %d bytes dropped", count - take);
    std::memcpy(receiveBuffer_ + receiveCount_, bytes, static_cast<size_t>(take));
    receiveCount_ += take;
    int r;
    do {
        r = ParseFrame(receiveBuffer_, receiveCount_, *this);
        if (r != -1) receiveCount_ = r;
    } while (r > 0);
}

int CCOM::COMInit(int port) {
    char name[20];
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", port);
    return COMInitPath(name);
}

int CCOM::COMInitPath(const std::string &portName) {
    if (IsOpen()) {
        // Leave the open port and its buffers alone.
        NubraLog("[ERROR] %s() NUBRA_ERROR_COM_PORT_ALREADY_OPENED", "COMInit");
        return NUBRA_ERROR_COM_PORT_ALREADY_OPENED;
    }
    std::memset(receiveBuffer_, 0, sizeof receiveBuffer_);
    receiveCount_ = 0;
    std::memset(sendBuffer_, 0, sizeof sendBuffer_);
    sendLength_ = 0;
    SetPortName(portName);
    Settings().baudRate = 115200;
    return StartLink();
}

int CCOM::StartLink() {
    // The acknowledgement event and the display thread exist before the read
    // worker starts: an answer or notice that arrives at once finds them, and
    // the worker never reads the pointers while they are being set.
    const bool fresh = !displayThread_;
    if (!ackEvent_) ackEvent_ = std::make_unique<platform::Event>(platform::Event::Reset::Auto);
    if (fresh) displayThread_ = std::make_unique<CComDisplayThread>(*this);
    const int opened = Open();
    if (opened != RE_OK && fresh) {
        // Nothing runs: leave the link as it was before this call.
        displayThread_.reset();
        ackEvent_.reset();
    }
    switch (opened) {
    case RE_OK: NubraLog("[OK] %s() successed", "COMInit"); break;
    case RE_PORT_ALREADY_OPENED:
        NubraLog("[ERROR] %s() NUBRA_ERROR_COM_PORT_ALREADY_OPENED", "COMInit");
        return NUBRA_ERROR_COM_PORT_ALREADY_OPENED;
    case RE_HANDLE_INIT_ERROR:
        NubraLog("[ERROR] %s() NUBRA_ERROR_COM_HANDLE_INIT_ERROR", "COMInit");
        return NUBRA_ERROR_COM_HANDLE_INIT_ERROR;
    case RE_PORT_OPEN_ERROR: NubraLog("[ERROR] %s() RE_PORT_OPEN_ERROR", "COMInit"); return NUBRA_ERROR_COM_OPEN_FAIL;
    case RE_THREADS_RUN_ERROR:
        NubraLog("[ERROR] %s() RE_THREADS_RUN_ERROR", "COMInit");
        return NUBRA_ERROR_COM_OPEN_FAIL;
    default: return NUBRA_ERROR_COM_OPEN_FAIL;
    }
    displayThread_->Start();
    platform::SleepMs(platform::Scaled(kSettleMs));
    return 0;
}

int CCOM::COMDeinit() {
    const uint64_t start = platform::NowMs();
    int tries = 0;
    for (;;) {
        ++tries;
        if (Close()) break;
        NubraLog("[ERROR] %s() - NUBRA_ERROR_COM_STILL_ACTIVE", "COMDeinit");
        platform::SleepMs(platform::Scaled(kCloseRetryMs));
    }
    NubraLog("[OK] COM_PORT_CLOSED - %llu msec elapsed [%d times]",
        static_cast<unsigned long long>(platform::NowMs() - start), tries);
    NubraLog("[OK] %s() successed", "COMDeinit");
    if (displayThread_) {
        displayThread_->Stop(false);
        displayThread_.reset();
    }
    ackEvent_.reset();
    {
        platform::SharedLockGuard lock;
        status_ = previousStatus_ = E_NUBRA_STATUS_NONE;
        waiting_ = 0;
        waitingTicket_ = 0;
        displayReserved_ = false;
    }
    return 0;
}

int CCOM::PostAndWait(Work work) {
    const bool display = work.status >= E_NUBRA_STATUS_USER_REQ;
    // The answer would have to come through the SDK thread that is running
    // the caller's callback: refuse at once instead of waiting in vain.
    if (OnSdkThread()) {
        if (display) ReleaseDisplay();
        NubraLog("[ERROR] %s() NUBRA_ERROR_COM_RESPONSE_TIMEOUT - called from a callback", "WaitForAck");
        return NUBRA_ERROR_COM_RESPONSE_TIMEOUT;
    }
    // The waiting flag is raised before the post: an answer that comes back
    // before the caller starts waiting still finds it and is not lost. The wait
    // is traced from there too, so the trace never shows the answer first.
    NubraLog("[WAIT] Waiting for ACK...");
    {
        platform::SharedLockGuard lock;
        waiting_ = 1;
        if (++lastTicket_ == 0) ++lastTicket_;  // 0 means "nobody waits"
        work.ticket = waitingTicket_ = lastTicket_;
        if (ackEvent_) ackEvent_->ResetEvent();  // no stale acknowledgement
        if (display) displayReserved_ = true;
        if (displayThread_) displayThread_->Post(std::move(work));
        else if (display) displayReserved_ = false;
    }
    return WaitForAck();
}

int CCOM::RequestFirmwareVersion() { return PostAndWait(Request(E_NUBRA_STATUS_VER_REQ)); }

int CCOM::RequestHardwareVersion() { return PostAndWait(Request(E_NUBRA_STATUS_HW_VER_REQ)); }

int CCOM::RequestDeviceName() { return PostAndWait(Request(E_NUBRA_STATUS_DEVICE_NAME_REQ)); }

int CCOM::RequestDisplay() {
    Work w;
    w.status = E_NUBRA_STATUS_USER_REQ;
    {
        platform::SharedLockGuard lock;
        if (DisplayJob *job = device_ ? device_->CurrentJob() : nullptr) w.job = std::make_unique<DisplayJob>(*job);
    }
    return PostAndWait(std::move(w));
}

bool CCOM::ReserveDisplay() {
    platform::SharedLockGuard lock;
    if (displayReserved_) return false;
    displayReserved_ = true;
    return true;
}

void CCOM::ReleaseDisplay() {
    platform::SharedLockGuard lock;
    displayReserved_ = false;
}

int CCOM::WaitForAck() {
    platform::Event *ack;
    {
        platform::SharedLockGuard lock;
        waiting_ = 1;
        ack = ackEvent_.get();
    }
    const bool signalled = ack && ack->Wait(platform::Scaled(kAckTimeoutMs));
    int result;
    uint32_t ticket;
    {
        platform::SharedLockGuard lock;
        waiting_ = 0;
        ticket = waitingTicket_;
        waitingTicket_ = 0;
        result = ackResult_;
    }
    if (!signalled) {
        if (!ack) return 0;
        {
            // A request the display thread never took is dropped, and frees the display.
            platform::SharedLockGuard lock;
            if (displayThread_ && displayThread_->Withdraw(ticket)) displayReserved_ = false;
        }
        SetDisplayStatus(E_NUBRA_STATUS_NONE);
        NubraLog("[ERROR] Don't Recv - NUBRA_ERROR_COM_RESPONSE_TIMEOUT");
        return NUBRA_ERROR_COM_RESPONSE_TIMEOUT;
    }
    if (result == 0) NubraLog("[WAIT] Recv ACK");
    else NubraLog("[ERROR] Recv NACK - error(0x%x)", result);
    return result;
}

bool CCOM::IsDisplayBusy() {
    platform::SharedLockGuard lock;
    return displayReserved_;
}

int CCOM::DisplayStatus() {
    platform::SharedLockGuard lock;
    return status_;
}

int CCOM::PreviousDisplayStatus() {
    platform::SharedLockGuard lock;
    return previousStatus_;
}

int CCOM::SendFirmwareVersionQuery() {
    sendLength_ = BuildFirmwareVersionQuery(sendBuffer_);
    return SendRequest(CMD_RSP_FW_VER_INFO);
}

int CCOM::SendHardwareVersionQuery() {
    sendLength_ = BuildHardwareVersionQuery(sendBuffer_);
    return SendRequest(CMD_RSP_HW_VER_INFO);
}

int CCOM::SendDeviceNameQuery() {
    sendLength_ = BuildDeviceNameQuery(sendBuffer_);
    return SendRequest(CMD_RSP_DEVICE_NAME_INFO);
}

int CCOM::SendRequest(int awaited) {
    TraceFrame("SEND", RequestTraceName(awaited), sendBuffer_, sendLength_);
    // Numbered before the write: an answer to this request cannot arrive before the number.
    const uint64_t seq = ++sendSeq_;
    if (displayThread_) displayThread_->NoteSent(seq);
    if (!COMPortWrite(sendBuffer_, sendLength_, 0)) {
        NubraLog("[ERROR] COM / Write Error!!");
        return NUBRA_ERROR_COM_WRITE_FAIL;
    }
    if (awaited > 0 && displayThread_) displayThread_->ArmPendingResponse(awaited);
    return 0;
}

void CCOM::SignalAck(int code) {
    platform::SharedLockGuard lock;
    uint32_t ticket = 0;
    if (displayThread_) {
        displayThread_->ClearPendingResponse();
        // An accepted line must now be followed by its notice within the response time-out.
        if (code == 0 && status_ == E_NUBRA_STATUS_RSP) displayThread_->ArmPendingResponse(kAwaitNotice);
        ticket = displayThread_->TakeTicket();
    }
    // Only the caller whose request this exchange serves is released, and only once.
    if (!waiting_ || ticket == 0 || ticket != waitingTicket_) return;
    ackResult_ = code;
    NubraLog("[WAIT] Send ACK in COM");
    if (ackEvent_) ackEvent_->Set();
}

void CCOM::FailTransfer(int code) {
    platform::SharedLockGuard lock;
    SignalAck(code);
    if (displayThread_) displayThread_->AbortExchange(code);
    SetDisplayStatus(E_NUBRA_STATUS_NONE);
}

void CCOM::SetDisplayStatus(int status) {
    platform::SharedLockGuard lock;
    previousStatus_ = status_;
    status_ = static_cast<velumi::DisplayStatus>(status);
    NubraLog("[CHG_DISP_STATUS] => %s", DisplayStatusName(status));
}

int CCOM::COMReqDispLine(const DisplayJob &job) {
    platform::SharedLockGuard lock;
    uint8_t line[256] = {};
    int n, destination;
    uint8_t mode;
    if (job.IsBrailleLine()) {
        // The window, cut to what the job holds (cells past its end are blank).
        n = device_ ? device_->BrailleCells() : 0;
        if (n < 0 || n > 249) n = 0;
        const uint8_t *cells = job.BrailleCells();
        const int capacity = job.BrailleCellCapacity();
        for (int i = 0; i < n; ++i) {
            const long at = static_cast<long>(job.windowStart) + i;
            if (cells && at >= 0 && at < capacity) line[i] = cells[at];
        }
        destination = 0;
        mode = kModeBraille;
    } else {
        n = job.m_nNumOfCell;
        const int start = job.currentLine * job.m_nNumOfCell;
        for (int i = 0; i < n && start + i < kJobDataSize; ++i) line[i] = job.data[start + i];
        destination = job.currentLine + 1;
        mode = kModeGraphic;
    }
    sendLength_ = BuildDisplayLine(sendBuffer_, kFrameBufferSize, line, n, destination, mode);
    return SendRequest(CMD_RSP_DISPLAY_LINE);
}

// A page move is a job of its own, made from the saved braille-line copy; the
// current job (maybe a new one not yet sent) is left alone.
int CCOM::COMReqDispLineByKey(int key) {
    platform::SharedLockGuard lock;
    auto job = std::make_unique<DisplayJob>();
    if (!device_ || !device_->RestoreSavedBraille(*job)) {
        NubraLog("[ERROR] NUBRA_ERROR_BRAILLE_NOT_TRANSLATE in %s()", "COMReqDispLineByKey");
        return NUBRA_ERROR_BRAILLE_NOT_TRANSLATE;
    }
    const bool previous = (key & 0x01) || (key & 0x04);
    if (!ReserveDisplay()) {
        NubraLog("%s", "");
        NubraLog("[CAUTION] NUBRA_ERROR_DISPLAY_IN_PROGRESS in %s() - %s", "COMReqDispLineByKey",
            previous ? "PREV_KEY" : "NEXT_KEY");
        return NUBRA_ERROR_DISPLAY_IN_PROGRESS;
    }
    NubraLog("[OK] (%s)", previous ? "PREV_KEY" : "NEXT_KEY");
    job->retriesLeft = static_cast<uint8_t>(device_->RetryCount());
    job->retryDelay = static_cast<uint8_t>(device_->RetryDelayMs());
    Work w;
    w.status = previous ? E_NUBRA_STATUS_KEY_REQ_PREV : E_NUBRA_STATUS_KEY_REQ_NEXT;
    w.job = std::move(job);
    if (displayThread_) displayThread_->Post(std::move(w));
    else ReleaseDisplay();
    return 0;
}

std::string CCOM::FirmwareVersion() {
    platform::SharedLockGuard lock;
    return firmwareVersion_;
}

void CCOM::SetDeviceNameText(const char *name) {
    platform::SharedLockGuard lock;
    std::memset(deviceName_, 0, sizeof deviceName_);
    std::strncpy(deviceName_, name ? name : "", sizeof deviceName_ - 1);
}

int CCOM::HardwareVersion() {
    platform::SharedLockGuard lock;
    return hardwareVersion_;
}

std::string CCOM::DeviceName() {
    platform::SharedLockGuard lock;
    return deviceName_;
}

void CCOM::OnFirmwareVersion(const char (&version)[9]) {
    {
        platform::SharedLockGuard lock;
        std::memcpy(firmwareVersion_, version, sizeof firmwareVersion_);
    }
    if (device_) device_->FirmwareVersionReceived(version);
    PostAnswer(E_NUBRA_STATUS_VER_RSP);
}

void CCOM::OnHardwareVersion(uint8_t version) {
    {
        platform::SharedLockGuard lock;
        hardwareVersion_ = version;
    }
    if (device_) device_->HardwareVersionReceived(version);
    PostAnswer(E_NUBRA_STATUS_HW_VER_RSP);
}

void CCOM::OnDeviceName(const char (&name)[11]) {
    // A name the pad sends on its own that names no model changes nothing.
    const bool asked = displayThread_ && displayThread_->Awaits(E_NUBRA_STATUS_DEVICE_NAME_REQ);
    if (!asked && device_ && !device_->NameSelectsModel(name)) {
        NubraLog("[CAUTION] RSP_DEVICE_NAME_INFO - \"%s\" names no model, ignored", name);
        return;
    }
    {
        platform::SharedLockGuard lock;
        std::memcpy(deviceName_, name, sizeof deviceName_);
    }
    if (device_) {
        device_->SetDeviceType(name);
        device_->DeviceNameReceived(name);
    }
    PostAnswer(E_NUBRA_STATUS_DEVICE_NAME_RSP);
}

void CCOM::PostAnswer(velumi::DisplayStatus status, bool refused) {
    if (!displayThread_) return;
    Work w;
    w.status = status;
    w.refused = refused;
    w.sentSeq = sendSeq_.load();
    displayThread_->Post(std::move(w));
}

void CCOM::OnDisplayLineAccepted() { PostAnswer(E_NUBRA_STATUS_RSP); }

void CCOM::OnDisplayLineShown() { PostAnswer(E_NUBRA_STATUS_NOTI); }

// Nothing is posted as a status; the display thread only counts the answer.
void CCOM::OnDisplayLineRefused() { PostAnswer(E_NUBRA_STATUS_RSP, true); }

void CCOM::OnEventKey(uint8_t keyCode) {
    if (device_) device_->SendKey(keyCode);
}

void CCOM::OnKey(int value) {
    if (device_) device_->KeyReceived(value);
}

}  // namespace velumi
