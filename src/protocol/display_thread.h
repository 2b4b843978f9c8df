// CComDisplayThread: the only thread that sends requests to the pad. It takes
// queued requests and answers, runs one exchange with the pad at a time (a
// query, or a display transfer line by line), supervises the awaited answer
// (1000 ms, three resends) and reports the end of a transfer.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>

#include "device/display_job.h"
#include "platform/event.h"
#include "platform/thread.h"
#include "protocol/display_status.h"

namespace velumi {

class CCOM;

struct PendingResponse {
    int32_t awaitedCode = 0;
    int32_t active = 0;
    int32_t retryCount = 0;
    int32_t timeout = 0;
    int64_t start = 0;
};

// One entry of the queue: a request from a caller (with its ticket and, for a
// display or a page move, the job it owns), or an answer from the receive
// worker (stamped with the number of the last request sent when it arrived).
struct Work {
    DisplayStatus status = E_NUBRA_STATUS_NONE;
    uint32_t ticket = 0;
    uint64_t sentSeq = 0;
    bool refused = false;  // a display-line response with an error result
    std::unique_ptr<DisplayJob> job;
};

// The exchange in flight, owned by the display thread: what started it, the
// job being shown, the outstanding request and the answer it waits for.
struct Transfer {
    enum class Stage { Idle, AwaitAnswer, AwaitNotice };
    Stage stage = Stage::Idle;
    DisplayStatus request = E_NUBRA_STATUS_NONE;
    uint32_t ticket = 0;  // caller still to be released; 0 once released
    std::unique_ptr<DisplayJob> job;
    uint64_t sentSeq = 0;  // number of the outstanding request
    uint64_t lineFirstSeq = 0;  // number of the first send of the outstanding line
    PendingResponse pending;
    // Display-line sends still owed a response, and accepted ones still owed a
    // notice, oldest first. The pad answers in order, so the oldest owed send is
    // the one an answer belongs to: an answer to an earlier send of another
    // line (a resend's late twin) is never taken for the outstanding line's.
    // Kept across exchanges until one fails; a send unanswered for two
    // response time-outs is given up (answers carry no line number, so one
    // later than that could be taken for another line's).
    struct Sent {
        uint64_t seq;
        uint64_t at;
    };
    std::deque<Sent> unanswered, unnoticed;

    bool IsDisplay() const { return request >= E_NUBRA_STATUS_USER_REQ && request <= E_NUBRA_STATUS_KEY_REQ_NEXT; }
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
    int Post(Work work);
    // Withdraws a caller's request that has not been answered (its wait ended):
    // true when a queued display request was dropped unsent.
    bool Withdraw(uint32_t ticket);
    void ArmPendingResponse(int code);
    void ClearPendingResponse();
    void SetWaitTimeout(int ms);
    void CheckPendingResponse();
    // Called by the protocol engine (shared lock held).
    void NoteSent(uint64_t seq);
    uint32_t TakeTicket();
    // Ends the exchange in flight after a failure with `code`.
    void AbortExchange(int code);
    bool Awaits(DisplayStatus request);  // a query of that kind is in flight

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
    void ProcessQueue();
    void Handle(Work &work);
    void Begin(Work &work);
    void EndExchange();
    int SendLine();
    void AdvanceTransfer();
    int MoveBraillePage(DisplayJob &job, int direction);
    void Ignore(DisplayStatus status);
    void ForgetOverdue();

    CCOM &com_;
    platform::WorkerThread thread_;
    platform::Event work_{platform::Event::Reset::Auto};
    std::atomic<int> waitTimeout_{kIdleWaitMs};
    std::deque<Work> queue_;  // guarded by the shared lock
    std::deque<Work> deferred_;  // requests that came while an exchange ran
    Transfer transfer_;  // guarded by the shared lock
};

}  // namespace velumi
