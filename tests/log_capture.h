// Captures the SDK's log lines for the lifetime of the object.
#pragma once

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "platform/debug_output.h"

class LogCapture {
public:
    LogCapture() {
        previous_ = velumi::platform::SetDebugSink([this](const char *text) {
            std::lock_guard<std::mutex> g(mutex_);
            std::string s = text;
            if (s == "\n") {
                lines_.push_back(partial_);
                partial_.clear();
            } else {
                partial_ += s;
            }
        });
    }
    ~LogCapture() { velumi::platform::SetDebugSink(previous_); }

    std::vector<std::string> Lines() const {
        std::lock_guard<std::mutex> g(mutex_);
        return lines_;
    }
    bool Contains(const std::string &needle) const { return IndexOf(needle) >= 0; }
    // Index of the first line containing needle at or after `from`, or -1.
    int IndexOf(const std::string &needle, int from = 0) const {
        auto lines = Lines();
        for (int i = std::max(from, 0); i < static_cast<int>(lines.size()); ++i)
            if (lines[i].find(needle) != std::string::npos) return i;
        return -1;
    }
    int Count(const std::string &needle) const {
        auto lines = Lines();
        return static_cast<int>(std::count_if(lines.begin(), lines.end(),
            [&](const std::string &l) { return l.find(needle) != std::string::npos; }));
    }
    void Clear() {
        std::lock_guard<std::mutex> g(mutex_);
        lines_.clear();
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    std::string partial_;
    velumi::platform::DebugSink previous_;
};
