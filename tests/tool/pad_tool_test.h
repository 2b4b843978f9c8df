// The fixture of the tool's tests that may run a simulated pad: a private folder
// for the tool's log and the pad's port link, removed after the test.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "padsim.h"

class PadToolTest : public testing::Test {
protected:
    // `folderTemplate`: a mkdtemp template such as "/tmp/velumi-tool-test-XXXXXX".
    explicit PadToolTest(std::string folderTemplate) : folderTemplate_(std::move(folderTemplate)) {}

    void SetUp() override {
        dir = mkdtemp(folderTemplate_.data());
        env = {{"VELUMI_LOG_DIR", dir + "/log"}, {"VELUMI_PORT_DIR", ""}};
    }
    void TearDown() override {
        // A failed test shows the SDK's error lines from the tool's log: the
        // tool's one-line message does not say why a port would not open.
        if (HasFailure())
            std::system(("grep -rh -e ERROR -e Exception " + dir + "/log 2>/dev/null | tail -n 20").c_str());
        pad.reset();
        std::system(("rm -rf " + dir).c_str());
    }

    std::string dir;
    std::map<std::string, std::string> env;
    std::unique_ptr<padsim::SimulatedPad> pad;

private:
    std::string folderTemplate_;
};
