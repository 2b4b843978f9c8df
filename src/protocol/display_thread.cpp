#include "protocol/display_thread.h"

#include "Log/nubra_log.h"
#include "platform/clock.h"
#include "platform/shared_lock.h"
#include "protocol/ccom.h"

namespace velumi {

CComDisplayThread::CComDisplayThread(CCOM &com) : com_(com) {}

CComDisplayThread::~CComDisplayThread() { Stop(true); }

int CComDisplayThread::Start() {
    if (thread_.Running()) return 1;
    thread_.Join(true);  // reap a thread that ended
    ClearPendingResponse();
    {
        platform::SharedLockGuard lock;
        queue_.clear();
    }
    work_.ResetEvent();
    // The thread raises its own priority one step above normal (best effort).
    if (!thread_.Start([this](platform::Event &stop) { Loop(stop); }, platform::Priority::AboveNormal)) {
        NubraLog("[ERROR] COM display thread create failed!! %s  %d", "CComDisplayThread::Start", 97);
        return 0;
    }
    return 2;
}

int CComDisplayThread::Stop(bool) {
    if (!thread_.Running()) {
        thread_.Join(true);
        return 1;
    }
    thread_.RequestStop();
    thread_.Join(true);
    return 0;
}

// Start() resets both events before the thread runs; resetting them again here
// could lose a stop or a status posted in between.
bool CComDisplayThread::OnThreadStart() { return true; }

void CComDisplayThread::OnThreadEnd() { work_.ResetEvent(); }

void CComDisplayThread::Loop(platform::Event &stop) {
    NubraLog("[OK] COM Display Thread  START");
    if (!OnThreadStart()) return;
    for (;;) {
        const int r = platform::WaitForAny({&stop, &work_}, platform::Scaled(waitTimeout_.load()));
        if (r == 0) break;
        if (r == 1) ProcessOneStatus();
        else CheckPendingResponse();
    }
    OnThreadEnd();
    NubraLog("[OK] #### COM Display Thread  STOP");
}

int CComDisplayThread::PostStatus(int code) {
    platform::SharedLockGuard lock;
    queue_.push_back(code);
    work_.Set();
    return 1;
}

void CComDisplayThread::ArmPendingResponse(int code) {
    platform::SharedLockGuard lock;
    if (!pending_.active || pending_.awaitedCode != code) pending_.retryCount = 0;
    pending_.active = 1;
    pending_.awaitedCode = code;
    pending_.timeout = kResponseTimeoutMs;
    pending_.start = static_cast<int64_t>(platform::NowMs());
    SetWaitTimeout(kArmedWaitMs);
}

void CComDisplayThread::ClearPendingResponse() {
    platform::SharedLockGuard lock;
    pending_ = PendingResponse{};
    SetWaitTimeout(kIdleWaitMs);
}

void CComDisplayThread::SetWaitTimeout(int ms) {
    waitTimeout_ = ms;
    work_.Set();  // cut the running wait short; the new time-out takes effect at once
}

PendingResponse CComDisplayThread::Pending() {
    platform::SharedLockGuard lock;
    return pending_;
}

size_t CComDisplayThread::QueuedStatuses() {
    platform::SharedLockGuard lock;
    return queue_.size();
}

void CComDisplayThread::CheckPendingResponse() {
    platform::SharedLockGuard lock;
    if (!pending_.active) return;
    const uint64_t now = platform::NowMs();
    if (now - static_cast<uint64_t>(pending_.start) <= static_cast<uint64_t>(platform::Scaled(pending_.timeout))) return;
    if (pending_.awaitedCode == kAwaitNotice) {
        NubraLog("[ERROR] NUBRA_ERROR_COM_NOT_RESPONSE - E_NUBRA_STATUS_NOTI can not received");
        com_.FailTransfer(NUBRA_ERROR_COM_NOT_RESPONSE);
        return;
    }
    if (pending_.retryCount >= kMaxResends) {
        NubraLog("[ERROR] NUBRA_ERROR_COM_NOT_RESPONSE - 3 times try fail");
        com_.FailTransfer(NUBRA_ERROR_COM_NOT_RESPONSE);
        return;
    }
    NubraLog("[ERROR] RETRY");
    const int r = com_.SendRequest(pending_.awaitedCode);
    if (r != 0) com_.FailTransfer(r);
    else ++pending_.retryCount;
}

void CComDisplayThread::ProcessOneStatus() {
    platform::SharedLockGuard lock;
    if (queue_.empty()) return;
    const int s = queue_.front();
    queue_.pop_front();
    // Several posts may share one wake-up of the auto-reset event: keep going.
    if (!queue_.empty()) work_.Set();
    com_.SetDisplayStatus(s);
    ProtocolDevice *device = com_.Device();
    int r = 0;
    switch (s) {
    case E_NUBRA_STATUS_VER_REQ:
        if ((r = com_.SendFirmwareVersionQuery()) != 0) com_.FailTransfer(r);
        break;
    case E_NUBRA_STATUS_HW_VER_REQ:
        if ((r = com_.SendHardwareVersionQuery()) != 0) com_.FailTransfer(r);
        break;
    case E_NUBRA_STATUS_DEVICE_NAME_REQ:
        if ((r = com_.SendDeviceNameQuery()) != 0) com_.FailTransfer(r);
        break;
    case E_NUBRA_STATUS_VER_RSP:
    case E_NUBRA_STATUS_HW_VER_RSP:
    case E_NUBRA_STATUS_DEVICE_NAME_RSP:
        com_.SignalAck(0);
        break;
    case E_NUBRA_STATUS_USER_REQ:
        if ((r = com_.COMReqDispLine(false)) != 0) com_.FailTransfer(r);
        break;
    case E_NUBRA_STATUS_KEY_REQ_PREV:
    case E_NUBRA_STATUS_KEY_REQ_NEXT:
        if (com_.MoveBraillePage(s == E_NUBRA_STATUS_KEY_REQ_PREV ? 1 : 2) == 0) {
            com_.SetDisplayStatus(E_NUBRA_STATUS_NONE);
            break;
        }
        if ((r = com_.COMReqDispLine(true)) != 0) com_.FailTransfer(r);
        break;
    case E_NUBRA_STATUS_RSP:
        if (device && device->HasJobs() && com_.PreviousDisplayStatus() >= E_NUBRA_STATUS_USER_REQ) com_.SignalAck(0);
        break;
    case E_NUBRA_STATUS_NOTI:
        ClearPendingResponse();
        AdvanceTransfer();
        break;
    default:
        break;
    }
}

void CComDisplayThread::AdvanceTransfer() {
    ProtocolDevice *device = com_.Device();
    if (!device) return;
    DisplayJob *job = device->NewestJob();
    if (!job) return;
    if (job->isBraille) {
        NubraLog("[NOTI] RetryCount (%d / %d)", job->retriesLeft, device->RetryCount());
        if (job->retriesLeft == 0) {
            com_.SetDisplayStatus(E_NUBRA_STATUS_NONE);
            device->DisplayDone();
            return;
        }
        --job->retriesLeft;
        platform::SleepMs(device->RetryDelayMs());
        PostStatus(job->requestCode);
        return;
    }
    NubraLog("[NOTI] RetryCount (%d / %d)", job->currentLine + 1, job->m_nNumOfLine);
    const int next = device->NextLine(*job);
    if (next >= job->m_nNumOfLine) {
        com_.SetDisplayStatus(E_NUBRA_STATUS_NONE);
        device->SendDispCompletedMessage(0);
        if (!job->isBraille && !job->isAscii) device->RecordLastShown(*job);
        device->DisplayDone();
        return;
    }
    job->currentLine = static_cast<uint8_t>(next);
    PostStatus(job->requestCode);
}

}  // namespace velumi
