// End to end: kqsim on a pseudo-terminal, found by the real POSIX port backend and by kqctl.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "KqsimProcess.h"
#include "link/CXmit.h"
#include "platform/SystemPorts.h"

namespace kq::test {
namespace {

namespace fs = std::filesystem;

using Kqsim = KqsimProcess;

struct CommandResult {
    int exitCode;
    std::string output;
};

CommandResult RunCommand(const std::string& command) {
    CommandResult result{-1, {}};
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return result;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) result.output += buffer;
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

class PtyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kqpty-" + std::to_string(getpid()));
        fs::create_directories(dir_);
        setenv("KQIFACE_PORTS", (dir_ / "COM%d").c_str(), 1);
    }
    void TearDown() override {
        unsetenv("KQIFACE_PORTS");
        unsetenv("KQIFACE_TRACE");
        fs::remove_all(dir_);
    }
    fs::path dir_;
};

TEST_F(PtyTest, ScanFindsKqsimAndNoticesWhenItStops) {
    std::ofstream(dir_ / "COM1") << "not a tty";
    Kqsim sim(dir_ / "COM3", {"--model", "0x82", "--sw", "21", "--hw", "3"});
    ASSERT_TRUE(sim.Running());

    auto opener = MakeSystemPortOpener();
    EXPECT_EQ(opener->Open(1), nullptr) << "a plain file is no serial port";
    CXmit link(*opener, SystemClock());
    ASSERT_TRUE(link.ScanPorts());
    EXPECT_EQ(link.LastPort, 3);
    EXPECT_EQ(link.ModelCode, 0x82);
    EXPECT_EQ(link.SoftwareVersion, 21);
    EXPECT_EQ(link.HardwareVersion, 3);
    EXPECT_EQ(opener->Open(3), nullptr) << "the port is ours alone while open";

    const std::vector<uint8_t> block(3000, 0x02);  // doubled by stuffing: over 4096 on the wire
    EXPECT_FALSE(link.Transact(static_cast<int>(block.size()), 0x50, block.data(), 500))
        << "a frame over the request buffer is refused";
    const std::vector<uint8_t> config(1500, 0x02);
    ASSERT_TRUE(link.Transact(static_cast<int>(config.size()), 0x50, config.data(), 500));
    ASSERT_TRUE(link.Transact(0, 0x70, nullptr, 500));
    EXPECT_EQ(
        std::vector<uint8_t>(link.ReplyData.begin(), link.ReplyData.begin() + link.ReplyLength),
        config);

    link.ClosePort();
    EXPECT_NE(opener->Open(3), nullptr) << "closing the port releases it";
    ASSERT_TRUE(link.ScanPorts());

    sim.Stop();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link.Identify(), 0);
    EXPECT_EQ(link.ErrorFlag, 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(600));
}

TEST_F(PtyTest, PacedNoisyRepliesStillArrive) {
    Kqsim sim(dir_ / "COM0", {"--model", "0x78", "--sw", "15", "--paced", "--noise", "55AA0290"});
    ASSERT_TRUE(sim.Running());
    auto opener = MakeSystemPortOpener();
    CXmit link(*opener, SystemClock());
    ASSERT_TRUE(link.ScanPorts());
    EXPECT_EQ(link.ModelCode, 0x78);
}

TEST_F(PtyTest, KqctlIdentifiesAndTraces) {
    Kqsim sim(dir_ / "COM3", {"--model", "0x82", "--sw", "21", "--hw", "3"});
    ASSERT_TRUE(sim.Running());
    const fs::path trace = dir_ / "trace.txt";
    setenv("KQIFACE_TRACE", trace.c_str(), 1);
    const auto found = RunCommand(std::string(KQCTL_PATH) + " identify");
    EXPECT_EQ(found.exitCode, 0);
    EXPECT_EQ(found.output, "port 3: model 0x82 S2.1 H3\n");

    std::ifstream in(trace);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find(" TX 02 10 10"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find(" RX 02 F4 04 82 15 00 03 64"), std::string::npos) << lines[1];

    sim.Stop();
    const auto missing = RunCommand(std::string(KQCTL_PATH) + " identify");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.output.find("no unit answered"), std::string::npos) << missing.output;
}

}  // namespace
}  // namespace kq::test
