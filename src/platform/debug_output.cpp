#include "platform/debug_output.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace velumi::platform {

namespace {
std::mutex &SinkMutex() {
    static std::mutex *m = new std::mutex;
    return *m;
}
DebugSink &Sink() {
    static DebugSink *s = new DebugSink;
    return *s;
}
bool ToStderr() {
    static const bool on = [] {
        const char *v = std::getenv("VELUMI_DEBUG_OUTPUT");
        return v && std::strcmp(v, "stderr") == 0;
    }();
    return on;
}
}  // namespace

void DebugOutput(const char *text) {
    if (!text) return;
    if (ToStderr()) std::fputs(text, stderr);
    std::lock_guard<std::mutex> g(SinkMutex());
    if (Sink()) Sink()(text);
}

DebugSink SetDebugSink(DebugSink sink) {
    std::lock_guard<std::mutex> g(SinkMutex());
    DebugSink old = std::move(Sink());
    Sink() = std::move(sink);
    return old;
}

}  // namespace velumi::platform
