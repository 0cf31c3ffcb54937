// Request frames on the wire, byte for byte, as the simulated unit received them.

#include <functional>
#include <string>

#include "LinkFixture.h"

namespace kq::test {
namespace {

struct WireCase {
    const char* name;
    std::function<void(CXmit&)> send;
    Bytes wire;
};

void PrintTo(const WireCase& c, std::ostream* os) { *os << c.name; }

const uint8_t kBlock590Read[] = {0x01, 0x4E, 0x02};
const uint8_t kBlock590Write[] = {0x00, 0x4E, 0x02};
const uint8_t kClose[] = {0x02};
const uint8_t kThree[] = {0x03, 0x05, 0x00};
const uint8_t kBegin[] = {0x00};

const WireCase kWireCases[] = {
    {"identify", [](CXmit& l) { l.Transact(0, 0x10, nullptr, 500); }, {0x02, 0x10, 0x10}},
    {"read configuration", [](CXmit& l) { l.Transact(0, 0x70, nullptr, 500); }, {0x02, 0x70, 0x70}},
    {"after block write", [](CXmit& l) { l.Transact(0, 0xB0, nullptr, 500); }, {0x02, 0xB0, 0xB0}},
    {"restart 0x78", [](CXmit& l) { l.Transact(0, 0xD0, nullptr, 500); }, {0x02, 0xD0, 0xD0}},
    {"one data byte 02",
     [](CXmit& l) { l.Transact(1, 0xC0, kClose, 5000); },
     {0x02, 0xC1, 0x02, 0x02, 0xC3}},
    {"three data bytes",
     [](CXmit& l) { l.Transact(3, 0xC0, kThree, 500); },
     {0x02, 0xC3, 0x03, 0x05, 0x00, 0xC5}},
    {"open 590 for reading",
     [](CXmit& l) { l.Transact(3, 0xC0, kBlock590Read, 500); },
     {0x02, 0xC3, 0x01, 0x4E, 0x02, 0x02, 0x8E}},
    {"open 590 for writing",
     [](CXmit& l) { l.Transact(3, 0xC0, kBlock590Write, 500); },
     {0x02, 0xC3, 0x00, 0x4E, 0x02, 0x02, 0x8F}},
    {"read 256 bytes",
     [](CXmit& l) { l.ReadBlockData(256, nullptr, 0); },
     {0x02, 0xC3, 0x03, 0x00, 0x01, 0xC1}},
    {"close block",
     [](CXmit& l) { l.Transact(1, 0xC0, kClose, 5000); },
     {0x02, 0xC1, 0x02, 0x02, 0xC3}},
    {"begin image", [](CXmit& l) { l.Transact(1, 0xC0, kBegin, 1000); }, {0x02, 0xC1, 0x00, 0xC1}},
    {"shell line sync",
     [](CXmit& l) { l.SendShellLine(u"sync"); },
     {0x02, 0x84, 0x05, 0x73, 0x79, 0x6E, 0x63, 0x00, 0x86}},
    {"shell line keeps low byte only",
     [](CXmit& l) { l.SendShellLine(u"\u0141"); },
     {0x02, 0x82, 0x41, 0x00, 0xC3}},
};

class WireTest : public LinkFixture, public ::testing::WithParamInterface<WireCase> {};

TEST_P(WireTest, SendsTheseBytes) {
    sim::SimUnit unit({.model = 0x78});
    Connect(unit);
    GetParam().send(link);
    EXPECT_EQ(unit.RawReceived(), GetParam().wire);
}

INSTANTIATE_TEST_SUITE_P(Requests, WireTest, ::testing::ValuesIn(kWireCases), [](const auto& p) {
    std::string name = p.param.name;
    for (char& c : name) {
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
});

// The length field and its stuffing, for each size class of the data.
TEST(FrameEncoding, LengthBytesAreStuffedLikeData) {
    struct Case {
        size_t n;
        Bytes head;  // start, header, length bytes as on the wire
    } cases[] = {
        {3, {0x02, 0xC3}},
        {4, {0x02, 0xC4, 0x04}},
        {255, {0x02, 0xC4, 0xFF}},
        {256, {0x02, 0xC8, 0x01, 0x00}},
        {258, {0x02, 0xC8, 0x01, 0x02, 0x02}},
        {514, {0x02, 0xC8, 0x02, 0x02, 0x02, 0x02}},
        {600, {0x02, 0xC8, 0x02, 0x02, 0x58}},
        {2052, {0x02, 0xC8, 0x08, 0x04}},
    };
    for (const auto& c : cases) {
        const Bytes data(c.n, 0x00);
        Bytes out(kLinkBufferSize);
        const size_t length = EncodeFrame(0xC0, data, out);
        ASSERT_EQ(length, c.head.size() + c.n + 1) << c.n;
        EXPECT_EQ(Bytes(out.begin(), out.begin() + static_cast<long>(c.head.size())), c.head)
            << c.n;
    }
}

TEST(FrameEncoding, RefusesFramesLargerThanTheBuffer) {
    Bytes out(kLinkBufferSize);
    EXPECT_EQ(EncodeFrame(0xC0, Bytes(4091, 0x00), out), 4096u);  // 2+2 header, 1 checksum
    EXPECT_EQ(EncodeFrame(0xC0, Bytes(4092, 0x00), out), 0u);
    EXPECT_EQ(EncodeFrame(0xC0, Bytes(2100, 0x02), out), 0u);  // stuffing doubles it
    EXPECT_EQ(EncodeFrame(0xC0, Bytes(70000, 0x00), std::span<uint8_t>()), 0u);
}

TEST_F(LinkFixture, ImageBlockOf2048BytesUsesTwoLengthBytes) {
    sim::SimUnit unit({.model = 0x82});
    Connect(unit);
    const uint8_t begin[] = {0x00};
    ASSERT_TRUE(link.Transact(1, 0xC0, begin, 1000));
    unit.ClearRecords();
    const Bytes image(2048, 0xA5);
    ASSERT_TRUE(link.WriteImageBlock(0x012345, image.data(), 2048));
    const Bytes& wire = unit.RawReceived();
    ASSERT_GE(wire.size(), 8u);
    EXPECT_EQ(Bytes(wire.begin(), wire.begin() + 8),
              (Bytes{0x02, 0xC8, 0x08, 0x04, 0x01, 0x01, 0x23, 0x45}));
    ASSERT_EQ(unit.Requests().size(), 1u);
    EXPECT_EQ(unit.Requests()[0].data.size(), 2052u);
}

TEST_F(LinkFixture, PackagedRequestsCarryTheirSubcommands) {
    sim::SimUnit unit({.model = 0x82});
    Connect(unit);
    const uint8_t prefix[] = {1, 2, 3, 4};
    link.WriteBlockData(4, prefix);
    link.OpenUnitFile(u"/mnt/logo.dg1");
    const std::vector<sim::SimRequest> expected = {
        {0xC0, {0x04, 1, 2, 3, 4}},
        {0xA0, {0x00, '/', 'm', 'n', 't', '/', 'l', 'o', 'g', 'o', '.', 'd', 'g', '1', 0x00}},
    };
    EXPECT_EQ(unit.Requests(), expected);
}

TEST_F(LinkFixture, OverlongTextsAreRefusedWithoutSending) {
    sim::SimUnit unit({.model = 0x82});
    Connect(unit);
    EXPECT_TRUE(link.SendShellLine(std::u16string(255, u'x')));
    EXPECT_FALSE(link.SendShellLine(std::u16string(256, u'x')));
    EXPECT_TRUE(link.OpenUnitFile(std::u16string(254, u'p')));
    EXPECT_FALSE(link.OpenUnitFile(std::u16string(255, u'p')));
    EXPECT_EQ(unit.Requests().size(), 2u);
    EXPECT_EQ(link.ErrorFlag, 0);
}

}  // namespace
}  // namespace kq::test
