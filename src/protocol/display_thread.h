// CComDisplayThread: the only thread that sends requests to the pad. It takes
// queued statuses one at a time, sends, supervises the awaited answer (1000 ms,
// three resends) and walks a picture line by line.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>

#include "platform/event.h"
#include "platform/thread.h"

namespace velumi {

class CCOM;

struct PendingResponse {
    int32_t awaitedCode = 0;
    int32_t active = 0;
    int32_t retryCount = 0;
    int32_t timeout = 0;
    int64_t start = 0;
};

class CComDisplayThread {
public:
    explicit CComDisplayThread(CCOM &com);
    virtual ~CComDisplayThread();  // stops cooperatively and joins

    // 1 when already running; nonzero when started; 0 when it cannot start.
    int Start();
    // Cooperative in every case: sets the stop event and joins (a send in
    // progress ends within the write time-out). 1 when nothing was running.
    int Stop(bool force);
    int PostStatus(int code);
    void ArmPendingResponse(int code);
    void ClearPendingResponse();
    void SetWaitTimeout(int ms);
    void CheckPendingResponse();

    PendingResponse Pending();  // a copy, under the shared lock
    size_t QueuedStatuses();

    static constexpr int kIdleWaitMs = 10000;
    static constexpr int kArmedWaitMs = 200;
    static constexpr int kResponseTimeoutMs = 1000;
    static constexpr int kMaxResends = 3;

protected:
    virtual bool OnThreadStart();
    virtual void OnThreadEnd();

private:
    void Loop(platform::Event &stop);
    void ProcessOneStatus();
    void AdvanceTransfer();

    CCOM &com_;
    platform::WorkerThread thread_;
    platform::Event work_{platform::Event::Reset::Auto};
    std::atomic<int> waitTimeout_{kIdleWaitMs};
    std::deque<int> queue_;    // guarded by the shared lock
    PendingResponse pending_;  // guarded by the shared lock
};

}  // namespace velumi
