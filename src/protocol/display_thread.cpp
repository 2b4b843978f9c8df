#include "protocol/display_thread.h"

#include "Log/nubra_log.h"
#include "platform/clock.h"
#include "platform/shared_lock.h"
#include "protocol/ccom.h"

namespace velumi {

namespace {
constexpr uint64_t kNewLine = ~uint64_t{0};

bool IsRequest(DisplayStatus s) {
    return s == E_NUBRA_STATUS_VER_REQ || s == E_NUBRA_STATUS_HW_VER_REQ || s == E_NUBRA_STATUS_DEVICE_NAME_REQ ||
           s == E_NUBRA_STATUS_USER_REQ || s == E_NUBRA_STATUS_KEY_REQ_PREV || s == E_NUBRA_STATUS_KEY_REQ_NEXT;
}
}  // namespace

CComDisplayThread::CComDisplayThread(CCOM &com) : com_(com) {}

CComDisplayThread::~CComDisplayThread() { Stop(true); }

int CComDisplayThread::Start() {
    if (thread_.Running()) return 1;
    thread_.Join(true);  // reap a thread that ended
    {
        platform::SharedLockGuard lock;
        ClearPendingResponse();
        queue_.clear();
        deferred_.clear();
        transfer_ = Transfer{};
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
    SdkThreadScope sdkThread;
    NubraLog("[OK] COM Display Thread  START");
    if (!OnThreadStart()) return;
    for (;;) {
        const int r = platform::WaitForAny({&stop, &work_}, platform::Scaled(waitTimeout_.load()));
        if (r == 0) break;
        if (r == 1) ProcessQueue();
        else CheckPendingResponse();
    }
    OnThreadEnd();
    NubraLog("[OK] #### COM Display Thread  STOP");
}

int CComDisplayThread::PostStatus(int code) {
    Work work;
    work.status = static_cast<DisplayStatus>(code);
    return Post(std::move(work));
}

int CComDisplayThread::Post(Work work) {
    platform::SharedLockGuard lock;
    queue_.push_back(std::move(work));
    work_.Set();
    return 1;
}

bool CComDisplayThread::Withdraw(uint32_t ticket) {
    platform::SharedLockGuard lock;
    if (transfer_.ticket == ticket) transfer_.ticket = 0;
    for (auto *list : {&queue_, &deferred_}) {
        for (auto it = list->begin(); it != list->end(); ++it) {
            if (it->ticket != ticket) continue;
            const bool display = it->status >= E_NUBRA_STATUS_USER_REQ;
            list->erase(it);
            return display;
        }
    }
    return false;
}

void CComDisplayThread::ArmPendingResponse(int code) {
    platform::SharedLockGuard lock;
    PendingResponse &p = transfer_.pending;
    if (!p.active || p.awaitedCode != code) p.retryCount = 0;
    p.active = 1;
    p.awaitedCode = code;
    p.timeout = kResponseTimeoutMs;
    p.start = static_cast<int64_t>(platform::NowMs());
    SetWaitTimeout(kArmedWaitMs);
}

void CComDisplayThread::ClearPendingResponse() {
    platform::SharedLockGuard lock;
    transfer_.pending = PendingResponse{};
    SetWaitTimeout(kIdleWaitMs);
}

void CComDisplayThread::SetWaitTimeout(int ms) {
    waitTimeout_ = ms;
    work_.Set();  // cut the running wait short; the new time-out takes effect at once
}

PendingResponse CComDisplayThread::Pending() {
    platform::SharedLockGuard lock;
    return transfer_.pending;
}

size_t CComDisplayThread::QueuedStatuses() {
    platform::SharedLockGuard lock;
    return queue_.size() + deferred_.size();
}

void CComDisplayThread::NoteSent(uint64_t seq) {
    platform::SharedLockGuard lock;
    transfer_.sentSeq = seq;
    if (!transfer_.IsDisplay()) return;
    if (transfer_.lineFirstSeq == kNewLine) transfer_.lineFirstSeq = seq;
    ForgetOverdue();
    transfer_.unanswered.push_back({seq, platform::NowMs()});
}

// A send unanswered for two response time-outs (of real time: the pad's pace
// does not follow the tests' time scale) has lost its answer.
void CComDisplayThread::ForgetOverdue() {
    const uint64_t limit = static_cast<uint64_t>(2 * kResponseTimeoutMs);
    const uint64_t now = platform::NowMs();
    for (auto *owed : {&transfer_.unanswered, &transfer_.unnoticed})
        while (!owed->empty() && now - owed->front().at > limit) owed->pop_front();
}

uint32_t CComDisplayThread::TakeTicket() {
    platform::SharedLockGuard lock;
    const uint32_t t = transfer_.ticket;
    transfer_.ticket = 0;
    return t;
}

bool CComDisplayThread::Awaits(DisplayStatus request) {
    platform::SharedLockGuard lock;
    return transfer_.stage != Transfer::Stage::Idle && transfer_.request == request;
}

void CComDisplayThread::CheckPendingResponse() {
    platform::SharedLockGuard lock;
    const PendingResponse &p = transfer_.pending;
    if (!p.active) return;
    const uint64_t now = platform::NowMs();
    if (now - static_cast<uint64_t>(p.start) <= static_cast<uint64_t>(platform::Scaled(p.timeout))) return;
    if (p.awaitedCode == kAwaitNotice) {
        NubraLog("[ERROR] NUBRA_ERROR_COM_NOT_RESPONSE - E_NUBRA_STATUS_NOTI can not received");
        com_.FailTransfer(NUBRA_ERROR_COM_NOT_RESPONSE);
        return;
    }
    if (p.retryCount >= kMaxResends) {
        NubraLog("[ERROR] NUBRA_ERROR_COM_NOT_RESPONSE - 3 times try fail");
        com_.FailTransfer(NUBRA_ERROR_COM_NOT_RESPONSE);
        return;
    }
    NubraLog("[ERROR] RETRY");
    const int retries = p.retryCount;
    const int r = com_.SendRequest(p.awaitedCode);
    if (r != 0) com_.FailTransfer(r);
    else transfer_.pending.retryCount = retries + 1;
}

// Requests wait while an exchange runs: one request and one answer are on the
// wire at a time, so no answer can be taken for another request.
void CComDisplayThread::ProcessQueue() {
    platform::SharedLockGuard lock;
    while (!queue_.empty()) {
        Work work = std::move(queue_.front());
        queue_.pop_front();
        if (IsRequest(work.status) && transfer_.stage != Transfer::Stage::Idle) {
            deferred_.push_back(std::move(work));
            continue;
        }
        Handle(work);
    }
}

void CComDisplayThread::Begin(Work &work) {
    com_.SetDisplayStatus(work.status);
    transfer_.stage = Transfer::Stage::AwaitAnswer;
    transfer_.request = work.status;
    transfer_.ticket = work.ticket;
    transfer_.job = std::move(work.job);
}

// Ends the exchange in flight and lets the requests that waited for it run.
void CComDisplayThread::EndExchange() {
    const bool display = transfer_.IsDisplay();
    transfer_.stage = Transfer::Stage::Idle;
    transfer_.request = E_NUBRA_STATUS_NONE;
    transfer_.ticket = 0;
    transfer_.job.reset();
    if (display) com_.ReleaseDisplay();
    while (!deferred_.empty()) {
        queue_.push_front(std::move(deferred_.back()));
        deferred_.pop_back();
    }
    if (!queue_.empty()) work_.Set();
}

void CComDisplayThread::AbortExchange(int code) {
    if (transfer_.stage == Transfer::Stage::Idle) return;
    // What was given up on is not waited for any longer.
    transfer_.unanswered.clear();
    transfer_.unnoticed.clear();
    if (transfer_.IsDisplay()) {
        ProtocolDevice *device = com_.Device();
        DisplayJob *job = transfer_.job.get();
        // The outstanding line may or may not have reached the pins.
        if (device && job && job->IsGraphics()) device->LineUnknown(job->currentLine);
        if (device) device->SendDispCompletedMessage(code);
    }
    EndExchange();
}

void CComDisplayThread::Ignore(DisplayStatus status) {
    NubraLog("[CAUTION] %s ignored - no such request outstanding", DisplayStatusName(status));
}

int CComDisplayThread::SendLine() {
    if (!transfer_.job) {
        NubraLog("[ERROR] NUBRA_ERROR_BRAILLE_NOT_TRANSLATE in %s()", "COMReqDispLine");
        return NUBRA_ERROR_BRAILLE_NOT_TRANSLATE;
    }
    transfer_.stage = Transfer::Stage::AwaitAnswer;
    transfer_.lineFirstSeq = kNewLine;
    return com_.COMReqDispLine(*transfer_.job);
}

void CComDisplayThread::Handle(Work &work) {
    const DisplayStatus s = work.status;
    const bool current = work.sentSeq == transfer_.sentSeq;
    int r = 0;
    switch (s) {
    case E_NUBRA_STATUS_VER_REQ:
    case E_NUBRA_STATUS_HW_VER_REQ:
    case E_NUBRA_STATUS_DEVICE_NAME_REQ:
        Begin(work);
        r = s == E_NUBRA_STATUS_VER_REQ      ? com_.SendFirmwareVersionQuery()
            : s == E_NUBRA_STATUS_HW_VER_REQ ? com_.SendHardwareVersionQuery()
                                             : com_.SendDeviceNameQuery();
        if (r != 0) com_.FailTransfer(r);
        break;
    case E_NUBRA_STATUS_VER_RSP:
    case E_NUBRA_STATUS_HW_VER_RSP:
    case E_NUBRA_STATUS_DEVICE_NAME_RSP:
        if (transfer_.stage != Transfer::Stage::AwaitAnswer || transfer_.request != s - 1 || !current) {
            Ignore(s);
            break;
        }
        com_.SetDisplayStatus(s);
        com_.SignalAck(0);
        EndExchange();
        break;
    case E_NUBRA_STATUS_USER_REQ:
        Begin(work);
        if ((r = SendLine()) != 0) com_.FailTransfer(r);
        break;
    case E_NUBRA_STATUS_KEY_REQ_PREV:
    case E_NUBRA_STATUS_KEY_REQ_NEXT:
        Begin(work);
        if (!transfer_.job || MoveBraillePage(*transfer_.job, s == E_NUBRA_STATUS_KEY_REQ_PREV ? 1 : 2) == 0) {
            com_.SetDisplayStatus(E_NUBRA_STATUS_NONE);
            EndExchange();
            break;
        }
        if ((r = SendLine()) != 0) com_.FailTransfer(r);
        break;
    case E_NUBRA_STATUS_RSP: {
        // Only the answer to a send of the outstanding line counts; a repeated,
        // late or stray one does not.
        ForgetOverdue();
        if (transfer_.unanswered.empty()) {
            if (!work.refused) Ignore(s);
            break;
        }
        const Transfer::Sent sent = transfer_.unanswered.front();
        transfer_.unanswered.pop_front();
        if (work.refused) break;  // the resend rule deals with it
        transfer_.unnoticed.push_back(sent);
        if (transfer_.stage != Transfer::Stage::AwaitAnswer || !transfer_.IsDisplay() ||
            sent.seq < transfer_.lineFirstSeq) {
            Ignore(s);
            break;
        }
        com_.SetDisplayStatus(s);
        transfer_.stage = Transfer::Stage::AwaitNotice;
        com_.SignalAck(0);
        break;
    }
    case E_NUBRA_STATUS_NOTI: {
        ForgetOverdue();
        if (transfer_.unnoticed.empty()) {
            Ignore(s);
            break;
        }
        const Transfer::Sent sent = transfer_.unnoticed.front();
        transfer_.unnoticed.pop_front();
        if (transfer_.stage != Transfer::Stage::AwaitNotice || sent.seq < transfer_.lineFirstSeq) {
            Ignore(s);
            break;
        }
        com_.SetDisplayStatus(s);
        ClearPendingResponse();
        AdvanceTransfer();
        break;
    }
    default: com_.SetDisplayStatus(s); break;
    }
}

void CComDisplayThread::AdvanceTransfer() {
    ProtocolDevice *device = com_.Device();
    DisplayJob *job = transfer_.job.get();
    if (!device || !job) {
        EndExchange();
        return;
    }
    if (job->kind == JobKind::Braille) {
        NubraLog("[NOTI] RetryCount (%d / %d)", job->retriesLeft, device->RetryCount());
        if (job->retriesLeft == 0) {
            com_.SetDisplayStatus(E_NUBRA_STATUS_NONE);
            EndExchange();
            device->DisplayDone();
            return;
        }
        --job->retriesLeft;
        platform::SleepMs(device->RetryDelayMs());
        if (const int r = SendLine()) com_.FailTransfer(r);
        return;
    }
    NubraLog("[NOTI] RetryCount (%d / %d)", job->currentLine + 1, job->m_nNumOfLine);
    if (job->IsGraphics()) device->LineShown(*job, job->currentLine);
    const int next = device->NextLine(*job);
    if (next >= job->m_nNumOfLine) {
        com_.SetDisplayStatus(E_NUBRA_STATUS_NONE);
        device->SendDispCompletedMessage(0);
        if (job->IsGraphics()) device->RecordLastShown(*job);
        EndExchange();
        device->DisplayDone();
        return;
    }
    job->currentLine = static_cast<uint8_t>(next);
    if (const int r = SendLine()) com_.FailTransfer(r);
}

// Moves the window of a paging job one line of the braille line back
// (direction 1) or on (2); 0 when it cannot move, 1 when it moved.
int CComDisplayThread::MoveBraillePage(DisplayJob &job, int direction) {
    ProtocolDevice *device = com_.Device();
    if (!device) return 0;
    if (job.retriesLeft != device->RetryCount()) return 1;
    const uint32_t W = static_cast<uint32_t>(device->BrailleCells());
    if (W == 0) return 0;
    uint32_t pos = static_cast<uint32_t>(job.windowStart);
    const uint32_t total = static_cast<uint32_t>(job.cellCount);
    const uint32_t lastStart = (total / W) * W - W;
    if (direction == 1) {
        if (pos == 0) {
            NubraLog("[ERROR] PREV_KEY - Invalid position");
            return 0;
        }
        pos -= W;
        job.requestCode = kRequestPrevPage;
    } else {
        if (pos == lastStart) {
            NubraLog("[ERROR] NEXT_KEY - Invalid position");
            return 0;
        }
        pos += W;
        job.requestCode = kRequestNextPage;
    }
    if (pos > total) pos = (total / W) * W;
    if (pos == total) pos -= W;
    job.windowStart = static_cast<int32_t>(pos);
    NubraLog("[OK] KEY position (%d / %d)", static_cast<int>(pos), static_cast<int>(lastStart));
    device->SaveBraille(job);
    return 1;
}

}  // namespace velumi
