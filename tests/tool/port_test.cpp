// Serial ports given as Linux names them, and what the tool says when one
// cannot be used.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fstream>

#include "pad_tool_test.h"
#include "padsim.h"
#include "ports.h"
#include "tool_runner.h"

namespace {

class Port : public PadToolTest {
protected:
    Port() : PadToolTest("/tmp/velumi-port-test-XXXXXX") {}
    // A simulated pad whose port is the link dir/com7 (a path, not a number, to the tool).
    std::string StartPad(const std::string &model) {
        padsim::Options o;
        o.deviceName = model;
        pad = std::make_unique<padsim::SimulatedPad>(o);
        EXPECT_TRUE(pad->Start());
        EXPECT_TRUE(pad->LinkAs(dir, 7));
        return dir + "/com7";
    }
    ToolResult Run(const std::vector<std::string> &args) { return RunTool(args, "", env); }
};

TEST_F(Port, DevicePathsFromTheOptionTheEnvironmentAndTheSdksPortMap) {
    const std::string path = StartPad("LINNET");
    auto r = Run({"info", "--port", path});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("(" + path + ")"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("device name:      LINNET"), std::string::npos) << r.out;

    env["VELUMI_PORT"] = path;
    r = Run({"show-ascii", "abc"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(pad->BrailleLine()[0], 0x01);
    env.erase("VELUMI_PORT");

    // An application's port number mapped to a device path: VELUMI_PORT_<n>.
    env["VELUMI_PORT_12"] = path;
    r = Run({"info", "--port", "12"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("port:             12 (" + path + ")"), std::string::npos) << r.out;
}

TEST_F(Port, EachReasonAPortCannotBeUsedIsNamed) {
    auto r = Run({"info", "--port", "/dev/ttyUSB-velumi-absent"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot open port /dev/ttyUSB-velumi-absent: no such device"), std::string::npos) << r.err;
    EXPECT_EQ(r.ErrLines(), 1) << r.err;

    std::ofstream(dir + "/plain") << "x";
    r = Run({"info", "--port", dir + "/plain"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("not a serial port"), std::string::npos) << r.err;

    // Another program holds the port.
    const std::string path = StartPad("TARN");
    const int held = open(path.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_EX | LOCK_NB), 0);
    r = Run({"info", "--port", path});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("port busy"), std::string::npos) << r.err;
    close(held);

    // Permission denied names the dialout group (root cannot be refused, so the text is checked directly).
    EXPECT_NE(velumi_tool::PortErrorText(EACCES).find("dialout"), std::string::npos);
    EXPECT_NE(velumi_tool::PortErrorText(ENXIO).find("no such device"), std::string::npos);

    ToolResult bad = Run({"info", "--port", "COM3"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("device path"), std::string::npos) << bad.err;
}

TEST_F(Port, APortWithoutAPadIsReportedWithinSeconds) {
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    close(slave);  // nothing answers on the master side
    const auto start = std::chrono::steady_clock::now();
    const auto r = Run({"info", "--port", name});
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no pad answers on port " + std::string(name)), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_LT(seconds, 10) << "init gives up after a few seconds instead of waiting for every retry";
    close(master);
}

}  // namespace
