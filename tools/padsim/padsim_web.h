// The simulated pad in a browser: a small HTTP server that serves one
// self-contained page showing the pad's pins and braille line live (server-sent
// events), with the pad's keys as buttons, the model, the link state, the last
// frames exchanged and switches for the simulator's faults.
//
// Endpoints (all on the one address and port):
//   GET  /             the page (HTML with its script and style inline, nothing fetched elsewhere)
//   GET  /events       the event stream: "state" (everything, first and after a resync), "line",
//                      "frame", "link", "faults"; each data line is one JSON object
//   GET  /api/state    the same snapshot as the "state" event
//   POST /api/key      ?kind=page&code=N (N 1..255, the key code of NOTI_EVENT_KEY),
//                      ?kind=function&n=1..4 (F1..F4), ?kind=perkins&key=0..255
//   POST /api/fault    ?name=NAME&on=1|0[&n=N][&code=C], NAME from the pad's fault catalogue
//   POST /api/faults/clear
//
// Requests are refused (403) unless their Host names this server (so that a
// page from elsewhere cannot reach it through a DNS name pointed at this
// machine) and their Origin, when sent, is this server's own. Every stream
// client has a bounded queue: a client that falls behind loses the queued
// events and gets a fresh snapshot instead; writes time out, so a client that
// never reads is dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace padsim {

class SimulatedPad;

struct WebOptions {
    std::string address = "127.0.0.1";  // "0.0.0.0" or "::" to listen on every interface
    int port = 0;  // 0 = a free port chosen by the system
    size_t queueLimit = 512;  // events queued per stream client before it is resynchronised
    int writeTimeoutMs = 2000;  // a stream client that takes no bytes for this long is dropped
    int maxStreams = 8;  // concurrent event streams; more are answered 503
    size_t frameHistory = 40;  // frames kept for the snapshot
};

// Parses "[ADDR:]PORT" ("8080", "127.0.0.1:8080", "[::1]:8080", "0.0.0.0:0").
// False with a one-line reason when it is not one.
bool ParseWebAddress(const std::string &text, std::string &address, int &port, std::string &error);

class WebView {
public:
    // The pad must outlive the view.
    explicit WebView(SimulatedPad &pad);
    ~WebView();  // stops
    WebView(const WebView &) = delete;
    WebView &operator=(const WebView &) = delete;

    // Binds and starts serving on its own threads. False with a reason in `error`.
    bool Start(const WebOptions &options, std::string &error);
    void Stop();  // closes every connection; safe to call twice

    int Port() const;  // the bound port, 0 before Start
    std::string Url() const;  // http://ADDR:PORT/

    // For tests and the demo.
    size_t StreamCount() const;  // event streams open now
    uint64_t StreamsOpened() const;  // event streams opened since Start
    uint64_t Resyncs() const;  // times a client's queue overflowed
    // Waits until at least `count` event streams have been opened since Start.
    bool WaitForStreams(uint64_t count, int timeoutMs) const;

    // The snapshot sent as the "state" event (JSON).
    std::string StateJson() const;

private:
    struct Impl;
    std::shared_ptr<Impl> impl_;
};

}  // namespace padsim
