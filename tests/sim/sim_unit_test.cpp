// The simulated unit's side of the command set: what it keeps, and what it refuses.

#include <string>

#include "LinkFixture.h"

namespace kq::test {
namespace {

using SimUnitTest = LinkFixture;

TEST_F(SimUnitTest, Model82KeepsShellLinesFilesAndImages) {
    sim::SimUnit unit({.model = 0x82});
    Connect(unit);
    EXPECT_TRUE(link.SendShellLine(u"mount -o remount,rw /mnt"));
    ASSERT_TRUE(link.OpenUnitFile(u"/mnt/logo.dg1"));
    const uint8_t part1[] = {0x04, 'D', 'G'}, part2[] = {0x04, '1', 0x02}, close[] = {0x02};
    EXPECT_TRUE(link.Transact(3, 0xA0, part1, 500));
    EXPECT_TRUE(link.Transact(3, 0xA0, part2, 500));
    EXPECT_TRUE(link.Transact(1, 0xA0, close, 5000));
    EXPECT_EQ(unit.shellLines, std::vector<std::string>{"mount -o remount,rw /mnt"});
    EXPECT_EQ(unit.files["/mnt/logo.dg1"], (Bytes{'D', 'G', '1', 0x02}));

    const uint8_t begin[] = {0x00}, end[] = {0x02};
    const Bytes first(2048, 0x11), second(10, 0x22);
    ASSERT_TRUE(link.Transact(1, 0xC0, begin, 1000));
    ASSERT_TRUE(link.WriteImageBlock(0, first.data(), 2048));
    ASSERT_TRUE(link.WriteImageBlock(2048, second.data(), 10));
    EXPECT_TRUE(unit.committedImage.empty()) << "an image takes effect only at the end";
    ASSERT_TRUE(link.Transact(1, 0xC0, end, 50000));
    Bytes image = first;
    image.insert(image.end(), second.begin(), second.end());
    EXPECT_EQ(unit.committedImage, image);
    EXPECT_TRUE(link.Transact(0, 0x20, nullptr, 500));
    EXPECT_EQ(unit.restarts, 1);
}

TEST_F(SimUnitTest, Model78StorageBlocksTakeEffectWhenClosed) {
    sim::SimUnit unit({.model = 0x78});
    Connect(unit);
    const uint8_t openWrite[] = {0x00, 0x58, 0x02}, openRead[] = {0x01, 0x58, 0x02},
                  close[] = {0x02};
    const uint8_t content[] = {1, 2, 3, 4, 5};
    ASSERT_TRUE(link.Transact(3, 0xC0, openWrite, 500));
    ASSERT_TRUE(link.WriteBlockData(5, content));
    EXPECT_FALSE(unit.blocks.count(600));
    ASSERT_TRUE(link.Transact(1, 0xC0, close, 5000));
    EXPECT_EQ(unit.blocks[600], (Bytes{1, 2, 3, 4, 5}));

    uint8_t read[8] = {};
    ASSERT_TRUE(link.Transact(3, 0xC0, openRead, 500));
    ASSERT_TRUE(link.ReadBlockData(3, read, sizeof read));
    EXPECT_EQ(Bytes(read, read + 3), (Bytes{1, 2, 3}));
    ASSERT_TRUE(link.ReadBlockData(256, read, sizeof read));
    EXPECT_EQ(link.ReplyLength, 2) << "the rest of the block";
    EXPECT_TRUE(link.Transact(0, 0xD0, nullptr, 500));
    EXPECT_EQ(unit.restarts, 1);
}

TEST_F(SimUnitTest, RefusesWhatTheModelDoesNotSpeak) {
    const struct {
        uint8_t model, command;
    } cases[] = {{0x78, 0x20}, {0x78, 0x50}, {0x78, 0x70}, {0x78, 0x80}, {0x78, 0xA0},
                 {0x82, 0xB0}, {0x82, 0xD0}, {0x82, 0x30}, {0x78, 0x60}};
    for (const auto& c : cases) {
        sim::SimUnit unit({.model = c.model});
        Connect(unit);
        const uint8_t data[] = {0x00};
        EXPECT_FALSE(link.Transact(1, c.command, data, 500)) << std::hex << int(c.command);
        EXPECT_EQ(link.ReplyStatus, kStatusRefused);
        EXPECT_EQ(link.ErrorFlag, 0);
        link.ClosePort();
        line.Unplug(0);
    }
}

TEST_F(SimUnitTest, StopsAnsweringAfterItsLimit) {
    sim::SimUnit unit;
    unit.faults.answerLimit = 2;
    Connect(unit);
    EXPECT_NE(link.Identify(), 0);
    EXPECT_NE(link.Identify(), 0);
    EXPECT_EQ(link.Identify(), 0);
    EXPECT_EQ(link.ErrorFlag, 1);
    EXPECT_EQ(unit.Requests().size(), 3u) << "silent requests are still recorded";
}

TEST_F(SimUnitTest, DamagedRepliesFailTheExchange) {
    // With software version 0x73 the true checksum is 0x02, which the line doubles.
    for (const uint8_t software : {uint8_t{21}, uint8_t{0x73}}) {
        sim::SimUnit unit({.model = 0x82, .software = software});
        unit.faults.badChecksum = true;
        Connect(unit);
        EXPECT_EQ(link.Identify(), 0);
        EXPECT_EQ(link.ErrorFlag, 1);
        link.ErrorFlag = 0;
        link.ClosePort();
        line.Unplug(0);
    }
}

}  // namespace
}  // namespace kq::test
