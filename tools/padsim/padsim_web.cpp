// The simulated pad's web view: HTTP server, event fan-out and the key and
// fault endpoints. The page itself is in padsim_web_page.cpp.
#include "padsim_web.h"

#include "padsim.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace padsim {

const char *WebPage();  // padsim_web_page.cpp

namespace {

using Clock = std::chrono::steady_clock;

// Idle stream clients get a comment this often, which also finds closed connections.
constexpr auto kHeartbeat = std::chrono::seconds(1);
// Bytes of queued events written at once to one client.
constexpr size_t kWriteBatch = 64 * 1024;
// Socket send buffer of every connection (the kernel doubles it for its bookkeeping).
constexpr size_t kSendBuffer = 128 * 1024;

std::string JsonString(const std::string &text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c >= 0x7F) {
                // Device names are bytes, not UTF-8: keep each one as a code point.
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::string Hex(const std::vector<uint8_t> &bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

// Wall-clock time in ms with a fraction, comparable with the page's clock on the same machine.
double NowMs() {
    using namespace std::chrono;
    return static_cast<double>(duration_cast<microseconds>(system_clock::now().time_since_epoch()).count()) / 1000.0;
}

std::string Number(double value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", value);
    return buf;
}

std::string SseMessage(const char *event, const std::string &data) {
    return std::string("event: ") + event + "\ndata: " + data + "\n\n";
}

bool IsIpLiteral(const std::string &host) {
    unsigned char buf[16];
    if (inet_pton(AF_INET, host.c_str(), buf) == 1) return true;
    return host.size() > 2 && host.front() == '[' && host.back() == ']' &&
           inet_pton(AF_INET6, host.substr(1, host.size() - 2).c_str(), buf) == 1;
}

std::string Lower(std::string text) {
    for (char &c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool ParseInt(const std::string &text, long low, long high, long &value) {
    if (text.empty()) return false;
    char *end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 0);
    return *end == '\0' && errno == 0 && value >= low && value <= high;
}

struct Client {
    std::mutex mu;
    std::condition_variable cv;
    std::deque<std::string> queue;
    bool resync = true;  // send a fresh snapshot next (also the first message)
    bool closed = false;
};

}  // namespace

bool ParseWebAddress(const std::string &text, std::string &address, int &port, std::string &error) {
    std::string host = "127.0.0.1";
    std::string portText = text;
    const size_t colon = text.rfind(':');
    if (colon != std::string::npos) {
        host = text.substr(0, colon);
        portText = text.substr(colon + 1);
        if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
        if (host.empty()) {
            error = "'" + text + "' has an empty address before the port; give ADDR:PORT or PORT";
            return false;
        }
        if (host.find(':') != std::string::npos && text.front() != '[') {
            error = "write an IPv6 address in brackets, as [::1]:8080";
            return false;
        }
    }
    long value = 0;
    if (!ParseInt(portText, 0, 65535, value) || portText.find_first_not_of("0123456789") != std::string::npos) {
        error = "'" + text + "' is not [ADDR:]PORT with a port from 0 to 65535";
        return false;
    }
    address = host;
    port = static_cast<int>(value);
    return true;
}

struct WebView::Impl : std::enable_shared_from_this<Impl> {
    explicit Impl(SimulatedPad &p) : pad(p) {}

    void OnPadEvent(const PadEvent &event);
    void Publish(const char *name, const std::string &data);
    bool Allowed(const httplib::Request &req, std::string &why) const;
    void Routes();
    std::string LinkJson() const;
    std::string FaultsJson() const;
    std::string FrameJson(const PadEvent &event, size_t seq) const;
    std::string State() const;
    void OpenStream(httplib::Response &res);

    SimulatedPad &pad;
    WebOptions options;
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    int port = 0;
    std::set<std::string> hosts;  // Host header values accepted, lower case
    bool anyIpHost = false;  // listening on every interface: any IP literal with our port
    int observer = -1;

    mutable std::mutex mu;
    mutable std::condition_variable cv;
    std::set<std::shared_ptr<Client>> clients;  // guarded by mu
    std::deque<std::string> frames;  // recent frame events (JSON), guarded by mu
    size_t frameSeq = 0;  // guarded by mu
    uint64_t opened = 0;  // guarded by mu
    std::atomic<uint64_t> resyncs{0};
    bool stopping = false;  // guarded by mu
};

std::string WebView::Impl::LinkJson() const {
    std::string state = !pad.IsRunning() ? "stopped" : pad.IsHungUp() ? "unplugged" : "up";
    std::string out =
        "{\"state\":" + JsonString(state) + ",\"device\":" + JsonString(pad.DevicePath()) + ",\"links\":[";
    const std::vector<std::string> links = pad.Links();
    for (size_t i = 0; i < links.size(); ++i) out += (i ? "," : "") + JsonString(links[i]);
    return out + "]}";
}

std::string WebView::Impl::FaultsJson() const {
    std::string out = "[";
    bool first = true;
    for (const ActiveFault &f : pad.ActiveFaults()) {
        const FaultInfo *info = FindFault(f.fault);
        const std::string name = info ? info->name : "fault-" + std::to_string(static_cast<int>(f.fault));
        out += (first ? "" : ",") + std::string("{\"name\":") + JsonString(name) + ",\"n\":" + std::to_string(f.n) +
               ",\"code\":" + std::to_string(f.code) + "}";
        first = false;
    }
    return out + "]";
}

std::string WebView::Impl::FrameJson(const PadEvent &event, size_t seq) const {
    const char *dir = event.kind == PadEvent::Kind::FrameReceived ? "rx" : "tx";
    return "{\"seq\":" + std::to_string(seq) + ",\"dir\":\"" + dir + "\",\"raw\":" + (event.raw ? "true" : "false") +
           ",\"bytes\":\"" + Hex(event.bytes) + "\",\"t\":" + Number(NowMs()) + "}";
}

std::string WebView::Impl::State() const {
    std::string out =
        "{\"model\":" + JsonString(pad.DeviceName()) + ",\"firmware\":" + JsonString(pad.FirmwareVersion()) +
        ",\"lines\":" + std::to_string(pad.Lines()) + ",\"cells\":" + std::to_string(pad.CellsPerLine()) +
        ",\"brailleCells\":" + std::to_string(pad.BrailleCells()) + ",\"graphic\":[";
    for (int line = 1; line <= pad.Lines(); ++line)
        out += (line > 1 ? ",\"" : "\"") + Hex(pad.GraphicLine(line)) + "\"";
    out += "],\"braille\":\"" + Hex(pad.BrailleLine()) + "\",\"link\":" + LinkJson() + ",\"faults\":" + FaultsJson() +
           ",\"catalogue\":[";
    bool first = true;
    for (const FaultInfo &f : FaultCatalogue()) {
        out += (first ? "" : ",") + std::string("{\"name\":") + JsonString(f.name) +
               ",\"summary\":" + JsonString(f.summary) + ",\"number\":" + JsonString(f.number) +
               ",\"code\":" + (f.takesCode ? "true" : "false") + "}";
        first = false;
    }
    out += "],\"frames\":[";
    {
        std::lock_guard<std::mutex> lock(mu);
        for (size_t i = 0; i < frames.size(); ++i) out += (i ? "," : "") + frames[i];
    }
    return out + "],\"t\":" + Number(NowMs()) + "}";
}

void WebView::Impl::Publish(const char *name, const std::string &data) {
    const std::string message = SseMessage(name, data);
    std::lock_guard<std::mutex> lock(mu);
    for (const auto &client : clients) {
        std::lock_guard<std::mutex> clientLock(client->mu);
        if (client->resync) continue;  // a snapshot is coming anyway
        if (client->queue.size() >= options.queueLimit) {
            // The client falls behind: forget its backlog and send it the whole state instead.
            client->queue.clear();
            client->resync = true;
            ++resyncs;
        } else {
            client->queue.push_back(message);
        }
        client->cv.notify_one();
    }
}

void WebView::Impl::OnPadEvent(const PadEvent &event) {
    switch (event.kind) {
    case PadEvent::Kind::LineShown:
        Publish("line", "{\"line\":" + std::to_string(event.line) + ",\"cells\":\"" + Hex(event.bytes) +
                            "\",\"t\":" + Number(NowMs()) + "}");
        break;
    case PadEvent::Kind::FrameReceived:
    case PadEvent::Kind::FrameSent: {
        std::string json;
        {
            std::lock_guard<std::mutex> lock(mu);
            json = FrameJson(event, ++frameSeq);
            frames.push_back(json);
            while (frames.size() > options.frameHistory) frames.pop_front();
        }
        Publish("frame", json);
        break;
    }
    case PadEvent::Kind::LinkChanged: Publish("link", LinkJson()); break;
    case PadEvent::Kind::FaultsChanged: Publish("faults", FaultsJson()); break;
    }
}

bool WebView::Impl::Allowed(const httplib::Request &req, std::string &why) const {
    const std::string host = Lower(req.get_header_value("Host"));
    bool hostOk = hosts.count(host) > 0;
    if (!hostOk && anyIpHost) {
        const size_t colon = host.rfind(':');
        hostOk = colon != std::string::npos && host.substr(colon + 1) == std::to_string(port) &&
                 IsIpLiteral(host.substr(0, colon));
    }
    if (!hostOk) {
        why = "unknown Host";
        return false;
    }
    if (req.has_header("Origin")) {
        const std::string origin = Lower(req.get_header_value("Origin"));
        if (origin != "http://" + host) {
            why = "foreign Origin";
            return false;
        }
    }
    // Following a link to the page from elsewhere is fine (the page only shows,
    // and no other site may frame it); any other request from elsewhere is not.
    const bool openPage = req.method == "GET" && req.path == "/" &&
                          req.get_header_value("Sec-Fetch-Mode") == "navigate" && !req.has_header("Origin");
    if (req.has_header("Sec-Fetch-Site") && !openPage) {
        const std::string site = req.get_header_value("Sec-Fetch-Site");
        if (site != "same-origin" && site != "none") {
            why = "cross-site request";
            return false;
        }
    }
    return true;
}

void WebView::Impl::OpenStream(httplib::Response &res) {
    auto client = std::make_shared<Client>();
    {
        std::lock_guard<std::mutex> lock(mu);
        if (stopping || clients.size() >= static_cast<size_t>(options.maxStreams)) {
            res.status = 503;
            res.set_header("Retry-After", "5");
            res.set_content("too many event streams\n", "text/plain");
            return;
        }
        clients.insert(client);
        ++opened;
        cv.notify_all();
    }
    std::weak_ptr<Impl> weak = shared_from_this();
    res.set_header("Cache-Control", "no-store");
    res.set_chunked_content_provider(
        "text/event-stream",
        [weak, client](size_t, httplib::DataSink &sink) {
            auto self = weak.lock();
            if (!self) return false;
            std::string out;
            bool snapshot = false;
            {
                std::unique_lock<std::mutex> lock(client->mu);
                client->cv.wait_for(lock, kHeartbeat,
                    [&] { return client->closed || client->resync || !client->queue.empty(); });
                if (client->closed) return false;
                if (client->resync) {
                    snapshot = true;
                    client->resync = false;
                    client->queue.clear();
                } else {
                    while (!client->queue.empty() && out.size() < kWriteBatch) {
                        out += client->queue.front();
                        client->queue.pop_front();
                    }
                }
            }
            if (snapshot) {
                // "retry" makes the browser reconnect within a second after a drop.
                out = "retry: 1000\n" + SseMessage("state", self->State());
            }
            if (out.empty()) out = ": idle\n\n";
            self.reset();  // a blocked write must not keep the view alive
            return sink.write(out.data(), out.size());
        },
        [weak, client](bool) {
            {
                std::lock_guard<std::mutex> lock(client->mu);
                client->closed = true;
            }
            if (auto self = weak.lock()) {
                std::lock_guard<std::mutex> lock(self->mu);
                self->clients.erase(client);
                self->cv.notify_all();
            }
        });
}

void WebView::Impl::Routes() {
    std::weak_ptr<Impl> weak = shared_from_this();
    server->set_pre_routing_handler([weak](const httplib::Request &req, httplib::Response &res) {
        auto self = weak.lock();
        std::string why;
        if (self && self->Allowed(req, why)) return httplib::Server::HandlerResponse::Unhandled;
        res.status = 403;
        res.set_content("refused: " + why + "\n", "text/plain");
        return httplib::Server::HandlerResponse::Handled;
    });
    server->Get("/", [](const httplib::Request &, httplib::Response &res) {
        res.set_header("Cache-Control", "no-store");
        // Nothing may be loaded from elsewhere, and no other site may frame the page.
        res.set_header("Content-Security-Policy",
            "default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; "
            "connect-src 'self'; img-src data:; base-uri 'none'; form-action 'none'; "
            "frame-ancestors 'none'");
        res.set_header("X-Content-Type-Options", "nosniff");
        res.set_content(WebPage(), "text/html; charset=utf-8");
    });
    server->Get("/events", [weak](const httplib::Request &, httplib::Response &res) {
        if (auto self = weak.lock()) self->OpenStream(res);
    });
    server->Get("/api/state", [weak](const httplib::Request &, httplib::Response &res) {
        auto self = weak.lock();
        if (!self) return;
        res.set_header("Cache-Control", "no-store");
        res.set_content(self->State(), "application/json");
    });
    server->Post("/api/key", [weak](const httplib::Request &req, httplib::Response &res) {
        auto self = weak.lock();
        if (!self) return;
        const std::string kind = req.get_param_value("kind");
        long value = 0;
        std::string error;
        if (kind == "page") {
            if (ParseInt(req.get_param_value("code"), 1, 255, value))
                self->pad.SendPageKey(static_cast<uint8_t>(value));
            else error = "kind=page needs code=1..255 (1 previous, 2 next)";
        } else if (kind == "function") {
            if (ParseInt(req.get_param_value("n"), 1, 4, value))
                self->pad.SendFunctionKeys(static_cast<uint8_t>(0x80 >> (value - 1)));
            else error = "kind=function needs n=1..4";
        } else if (kind == "perkins") {
            if (ParseInt(req.get_param_value("key"), 0, 255, value))
                self->pad.SendPerkinsKey(static_cast<uint8_t>(value));
            else error = "kind=perkins needs key=0..255";
        } else {
            error = "kind is page, function or perkins";
        }
        if (!error.empty()) {
            res.status = 400;
            res.set_content(error + "\n", "text/plain");
            return;
        }
        if (!self->pad.IsRunning() || self->pad.IsHungUp()) {
            res.status = 409;
            res.set_content("the pad is not connected; the key was not sent\n", "text/plain");
            return;
        }
        res.status = 204;
    });
    server->Post("/api/fault", [weak](const httplib::Request &req, httplib::Response &res) {
        auto self = weak.lock();
        if (!self) return;
        const FaultInfo *info = FindFault(req.get_param_value("name"));
        const std::string on = req.get_param_value("on");
        long n = 0, code = 1;
        std::string error;
        if (!info) error = "unknown fault name";
        else if (on != "0" && on != "1") error = "on is 1 or 0";
        else if (req.has_param("n") && !ParseInt(req.get_param_value("n"), 0, 600000, n))
            error = "n is a number from 0 to 600000";
        else if (req.has_param("code") && !ParseInt(req.get_param_value("code"), 1, 255, code))
            error = "code is a number from 1 to 255";
        if (!error.empty()) {
            res.status = 400;
            res.set_content(error + "\n", "text/plain");
            return;
        }
        if (on == "1") self->pad.SetFault(info->fault, static_cast<int>(n), static_cast<int>(code));
        else self->pad.ClearFault(info->fault);
        res.status = 204;
    });
    server->Post("/api/faults/clear", [weak](const httplib::Request &, httplib::Response &res) {
        if (auto self = weak.lock()) self->pad.ClearFaults();
        res.status = 204;
    });
}

WebView::WebView(SimulatedPad &pad) : impl_(std::make_shared<Impl>(pad)) {}

WebView::~WebView() { Stop(); }

bool WebView::Start(const WebOptions &options, std::string &error) {
    Impl &d = *impl_;
    if (d.server) {
        error = "the web view is already running";
        return false;
    }
    d.options = options;
    if (d.options.queueLimit == 0) d.options.queueLimit = 1;
    if (d.options.maxStreams <= 0) d.options.maxStreams = 1;
    d.server = std::make_unique<httplib::Server>();
    httplib::Server &s = *d.server;
    // Every event stream holds a worker thread; leave room for page loads and key presses.
    const size_t workers = static_cast<size_t>(d.options.maxStreams) + 4;
    s.new_task_queue = [workers] { return new httplib::ThreadPool(workers); };
    s.set_tcp_nodelay(true);
    // Accepted connections inherit the listening socket's buffer sizes. A send
    // buffer of fixed, modest size makes a client that stops reading block our
    // writes soon, so the write timeout drops it, instead of the kernel growing
    // the buffer to megabytes of events nobody reads.
    s.set_socket_options([](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        int size = static_cast<int>(kSendBuffer);
        setsockopt(sock, SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
    });
    const int ms = std::max(d.options.writeTimeoutMs, 1);
    s.set_write_timeout(ms / 1000, (ms % 1000) * 1000);
    s.set_read_timeout(3, 0);
    s.set_keep_alive_timeout(2);
    s.set_payload_max_length(64 * 1024);
    {
        std::lock_guard<std::mutex> lock(d.mu);
        d.stopping = false;
        d.opened = 0;
    }
    d.Routes();

    int bound = -1;
    if (options.port == 0) bound = s.bind_to_any_port(options.address);
    else if (s.bind_to_port(options.address, options.port)) bound = options.port;
    if (bound <= 0) {
        error = "cannot listen on " + options.address + ":" + std::to_string(options.port) +
                " (address in use or not on this machine)";
        d.server.reset();
        return false;
    }
    d.port = bound;
    const std::string p = ":" + std::to_string(bound);
    const std::string address = Lower(options.address);
    d.hosts = {"127.0.0.1" + p, "localhost" + p, "[::1]" + p};
    d.hosts.insert((address.find(':') != std::string::npos ? "[" + address + "]" : address) + p);
    d.anyIpHost = address == "0.0.0.0" || address == "::";
    if (d.anyIpHost) {
        char name[256] = {};
        if (gethostname(name, sizeof name - 1) == 0 && name[0]) d.hosts.insert(Lower(name) + p);
    }
    std::weak_ptr<Impl> weak = impl_;
    d.observer = d.pad.AddObserver([weak](const PadEvent &event) {
        if (auto self = weak.lock()) self->OnPadEvent(event);
    });
    d.thread = std::thread([server = d.server.get()] { server->listen_after_bind(); });
    return true;
}

void WebView::Stop() {
    Impl &d = *impl_;
    if (!d.server) return;
    d.pad.RemoveObserver(d.observer);
    d.observer = -1;
    {
        std::lock_guard<std::mutex> lock(d.mu);
        d.stopping = true;
        for (const auto &client : d.clients) {
            std::lock_guard<std::mutex> clientLock(client->mu);
            client->closed = true;
            client->cv.notify_all();
        }
    }
    d.server->stop();
    if (d.thread.joinable()) d.thread.join();
    d.server.reset();
    std::lock_guard<std::mutex> lock(d.mu);
    d.clients.clear();
    d.port = 0;
}

int WebView::Port() const { return impl_->port; }

std::string WebView::Url() const {
    std::string host = impl_->options.address;
    if (host == "0.0.0.0") host = "127.0.0.1";
    if (host == "::") host = "::1";
    if (host.find(':') != std::string::npos) host = "[" + host + "]";
    return "http://" + host + ":" + std::to_string(impl_->port) + "/";
}

size_t WebView::StreamCount() const {
    std::lock_guard<std::mutex> lock(impl_->mu);
    return impl_->clients.size();
}

uint64_t WebView::StreamsOpened() const {
    std::lock_guard<std::mutex> lock(impl_->mu);
    return impl_->opened;
}

uint64_t WebView::Resyncs() const { return impl_->resyncs; }

bool WebView::WaitForStreams(uint64_t count, int timeoutMs) const {
    std::unique_lock<std::mutex> lock(impl_->mu);
    return impl_->cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return impl_->opened >= count; });
}

std::string WebView::StateJson() const { return impl_->State(); }

}  // namespace padsim
