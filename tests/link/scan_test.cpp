// Finding the unit: the order of port numbers, LastPort, and what counts as a unit.

#include "LinkFixture.h"

namespace kq::test {
namespace {

using Scan = LinkFixture;

std::vector<int> Range(int from, int to) {
    std::vector<int> v;
    for (int i = from; i <= to; ++i) v.push_back(i);
    return v;
}

TEST_F(Scan, FirstScanClimbsFromZeroAndLaterScansStartAtLastPort) {
    sim::SimUnit unit({.model = 0x82, .software = 21, .hardware = 3});
    line.Plug(3, unit);
    ASSERT_TRUE(link.ScanPorts());
    EXPECT_EQ(line.Attempts(), Range(0, 3));
    EXPECT_EQ(link.LastPort, 3);
    EXPECT_NE(link.PortHandle, nullptr);
    EXPECT_EQ(link.ModelCode, 0x82);
    EXPECT_EQ(link.SoftwareVersion, 21);
    EXPECT_EQ(link.HardwareVersion, 3);

    line.ClearAttempts();
    link.ErrorFlag = 1;
    ASSERT_TRUE(link.ScanPorts());  // reconnect: the last port is tried first
    EXPECT_EQ(line.Attempts(), std::vector<int>{3});
    EXPECT_EQ(link.ErrorFlag, 0);
}

TEST_F(Scan, NothingFoundTriesEachNumberOnceAndLeavesNoPortOpen) {
    link.LastPort = 200;
    EXPECT_FALSE(link.ScanPorts());
    std::vector<int> expected = Range(200, 255);
    const auto low = Range(0, 199);
    expected.insert(expected.end(), low.begin(), low.end());
    EXPECT_EQ(line.Attempts(), expected);
    EXPECT_EQ(link.PortHandle, nullptr);
}

TEST_F(Scan, SkipsSilentBusyAndForeignPorts) {
    sim::SimUnit silent, foreign({.model = 0x55}), refusing, unit({.model = 0x78, .software = 15});
    silent.faults.silent = true;
    refusing.faults.refuseAll = true;
    line.Plug(1, silent);
    line.Plug(2, foreign);
    line.Plug(3, refusing);
    line.Plug(4, unit);
    line.MarkBusy(4);
    line.Plug(5, unit);
    const uint64_t start = clock.NowMs();
    ASSERT_TRUE(link.ScanPorts());
    EXPECT_EQ(link.LastPort, 5);
    EXPECT_EQ(link.ModelCode, 0x78);
    EXPECT_EQ(clock.NowMs() - start, 500u) << "only the silent port costs its deadline";
    EXPECT_EQ(silent.Requests().size(), 1u);
}

TEST_F(Scan, SoftwareVersionZeroIsNoUnitButItsReplyIsKept) {
    sim::SimUnit zero({.model = 0x78, .software = 0, .hardware = 7});
    line.Plug(0, zero);
    EXPECT_FALSE(link.ScanPorts());
    EXPECT_EQ(link.PortHandle, nullptr);
    EXPECT_EQ(link.ModelCode, 0x78);
    EXPECT_EQ(link.SoftwareVersion, 0);
    EXPECT_EQ(link.HardwareVersion, 7);
}

TEST_F(Scan, ThreeByteReplyMeansHardwareVersionZero) {
    sim::SimUnit unit({.model = 0x78, .software = 0x15, .hardware = 9, .reportsHardware = false});
    line.Plug(0, unit);
    link.HardwareVersion = 5;
    ASSERT_TRUE(link.ScanPorts());
    EXPECT_EQ(link.SoftwareVersion, 0x15);
    EXPECT_EQ(link.HardwareVersion, 0);
}

TEST_F(Scan, IdentifyOnTheOpenPortReturnsTheVersionAndStatus) {
    sim::SimUnit unit({.model = 0x78, .software = 5, .hardware = 3, .status = 2});
    line.Plug(7, unit);
    ASSERT_TRUE(link.ScanPorts());  // reports the status once
    unit.identity.status = 2;
    uint8_t reply[8] = {};
    EXPECT_EQ(link.Identify(reply, sizeof reply), 5);
    EXPECT_EQ(reply[2], 2);
    EXPECT_EQ(link.Identify(reply, sizeof reply), 5);
    EXPECT_EQ(reply[2], 0);
}

}  // namespace
}  // namespace kq::test
