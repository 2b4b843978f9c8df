// A device object for protocol tests: a job list, the saved braille copy and
// recorded callbacks.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "protocol/protocol_device.h"

class FakeDevice : public velumi::ProtocolDevice {
public:
    std::vector<std::unique_ptr<velumi::DisplayJob>> jobs;
    std::optional<velumi::DisplayJob> saved;
    int brailleCells = 20;
    std::function<int(velumi::DisplayJob &)> nextLine = [](velumi::DisplayJob &j) { return j.currentLine + 1; };

    std::mutex mutex;
    std::vector<int> completions;
    std::vector<int> keys;
    std::vector<int> eventKeys;
    std::string firmware, name, deviceType;
    std::atomic<int> displayDone{0};
    int lastShownRecorded = 0;

    velumi::DisplayJob &AddJob() {
        jobs.clear();
        jobs.push_back(std::make_unique<velumi::DisplayJob>());
        return *jobs.back();
    }

    velumi::DisplayJob *CurrentJob() override { return jobs.empty() ? nullptr : jobs.front().get(); }
    bool HasJobs() override { return !jobs.empty(); }
    bool RestoreSavedBraille(velumi::DisplayJob &job) override {
        if (!saved) return false;
        job = *saved;
        return true;
    }
    void SaveBraille(const velumi::DisplayJob &job) override { saved = job; }
    int RetryCount() override { return 0; }
    int RetryDelayMs() override { return 0; }
    int BrailleCells() override { return brailleCells; }
    int NextLine(velumi::DisplayJob &job) override { return nextLine(job); }
    void RecordLastShown(const velumi::DisplayJob &) override { ++lastShownRecorded; }
    void SendDispCompletedMessage(int code) override {
        Locked([&] { completions.push_back(code); });
    }
    void SetDeviceType(const char *n) override {
        Locked([&] { deviceType = n; });
    }
    int SendKey(int key) override {
        Locked([&] { eventKeys.push_back(key); });
        return 0;
    }
    void FirmwareVersionReceived(const char *v) override {
        Locked([&] { firmware = v; });
    }
    void HardwareVersionReceived(int) override {}
    void DeviceNameReceived(const char *n) override {
        Locked([&] { name = n; });
    }
    void KeyReceived(int key) override {
        Locked([&] { keys.push_back(key); });
    }
    void DisplayDone() override { ++displayDone; }

    // Runs `f` under the lock that guards what the fake records.
    template <typename F>
    void Locked(F f) {
        std::lock_guard<std::mutex> g(mutex);
        f();
    }

    std::vector<int> Completions() {
        std::lock_guard<std::mutex> g(mutex);
        return completions;
    }
};
