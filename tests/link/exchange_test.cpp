// One request, one reply: the reply parser, deadlines, refusals and ErrorFlag.

#include "LinkFixture.h"

namespace kq::test {
namespace {

struct ReplyCase {
    const char* name;
    Bytes reply;
    bool accepted;  // what Transact returns
    int errorFlag;  // ErrorFlag afterwards
    Bytes data;     // ReplyData[0..ReplyLength) when accepted
};

void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.name; }

const ReplyCase kReplies[] = {
    {"accepted_no_data", {0x02, 0xF0, 0xF0}, true, 0, {}},
    {"refused_keeps_flag", {0x02, 0xE0, 0xE0}, false, 0, {}},
    {"identification",
     {0x02, 0xF4, 0x04, 0x82, 0x15, 0x00, 0x03, 0x64},
     true,
     0,
     {0x82, 0x15, 0x00, 0x03}},
    {"noise_before_start", {0x55, 0xAA, 0x13, 0xF0, 0x02, 0xF0, 0xF0}, true, 0, {}},
    {"header_0x90_ignored", {0x02, 0x91, 0x33, 0xA2, 0x02, 0xF1, 0x07, 0xF6}, true, 0, {0x07}},
    {"single_02_restarts", {0x02, 0xF4, 0x04, 0x82, 0x02, 0xF1, 0x09, 0xF8}, true, 0, {0x09}},
    {"stuffed_data_byte", {0x02, 0xF1, 0x02, 0x02, 0xF3}, true, 0, {0x02}},
    {"two_length_bytes",
     [] {
         Bytes r = {0x02, 0xF8, 0x01, 0x00};
         r.insert(r.end(), 256, 0x11);
         r.push_back(0xF9);
         return r;
     }(),
     true, 0, Bytes(256, 0x11)},
    {"bad_checksum", {0x02, 0xF0, 0xF1}, false, 1, {}},
    {"oversized_length", {0x02, 0xF8, 0x10, 0x01, 0x00}, false, 1, {}},
    {"truncated", {0x02, 0xF4, 0x04, 0x82}, false, 1, {}},
    {"no_reply", {}, false, 1, {}},
};

class ReplyTest : public LinkFixture, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(ReplyTest, ParsesReply) {
    const auto& c = GetParam();
    AnswerWith(c.reply);
    EXPECT_EQ(link.Transact(0, 0x10, nullptr, 500), c.accepted);
    EXPECT_EQ(link.ErrorFlag, c.errorFlag);
    if (c.accepted) {
        EXPECT_EQ(link.ReplyStatus, kStatusAccepted);
        EXPECT_EQ(Bytes(link.ReplyData.begin(), link.ReplyData.begin() + link.ReplyLength), c.data);
    }
    EXPECT_EQ(writes, 1) << "exactly one attempt";
}

INSTANTIATE_TEST_SUITE_P(Replies, ReplyTest, ::testing::ValuesIn(kReplies),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(LinkFixture, DeadlineBoundsTheWholeReply) {
    AnswerWith({});
    const uint64_t start = clock.NowMs();
    EXPECT_FALSE(link.Transact(0, 0x10, nullptr, 500));
    EXPECT_GE(clock.NowMs() - start, 500u);
    EXPECT_LT(clock.NowMs() - start, 600u);
}

TEST_F(LinkFixture, BadChecksumFailsBeforeTheDeadline) {
    AnswerWith({0x02, 0xF4, 0x04, 0x82, 0x15, 0x00, 0x03, 0x65});
    const uint64_t start = clock.NowMs();
    EXPECT_FALSE(link.Transact(0, 0x10, nullptr, 500));
    EXPECT_EQ(clock.NowMs(), start);
    EXPECT_EQ(link.ErrorFlag, 1);
}

TEST_F(LinkFixture, RefusalLeavesASetErrorFlagSet) {
    AnswerWith({0x02, 0xE0, 0xE0});
    link.ErrorFlag = 1;
    EXPECT_FALSE(link.Transact(0, 0x10, nullptr, 500));
    EXPECT_EQ(link.ErrorFlag, 1);
    EXPECT_EQ(link.ReplyStatus, kStatusRefused);
}

TEST_F(LinkFixture, NoPortFailsAtOnceAndSetsTheFlag) {
    EXPECT_FALSE(link.Transact(0, 0x10, nullptr, 500));
    EXPECT_EQ(link.ErrorFlag, 1);
    EXPECT_EQ(link.Identify(), 0);
}

TEST_F(LinkFixture, OversizedRequestIsNotSent) {
    AnswerWith({0x02, 0xF0, 0xF0});
    const Bytes data(4092, 0x00);
    EXPECT_FALSE(link.Transact(static_cast<int>(data.size()), 0x50, data.data(), 500));
    EXPECT_EQ(writes, 0);
    EXPECT_EQ(link.ErrorFlag, 0);
}

TEST_F(LinkFixture, StaleInputIsDrainedBeforeTheRequest) {
    // The first reply is followed by junk that must not be taken for the second reply.
    int calls = 0;
    line.Plug(0, [&calls](std::span<const uint8_t>) {
        return ++calls == 1 ? Bytes{0x02, 0xF0, 0xF0, 0x02, 0xF1, 0x66, 0x97}
                            : Bytes{0x02, 0xF1, 0x42, 0xB3};
    });
    link.PortHandle = line.Open(0);
    ASSERT_TRUE(link.Transact(0, 0x10, nullptr, 500));
    ASSERT_TRUE(link.Transact(0, 0x10, nullptr, 500));
    ASSERT_EQ(link.ReplyLength, 1);
    EXPECT_EQ(link.ReplyData[0], 0x42);
}

TEST_F(LinkFixture, UnpluggedPortFailsWithoutWaiting) {
    sim::SimUnit unit;
    Connect(unit);
    ASSERT_NE(link.Identify(), 0);
    line.Unplug(0);
    const uint64_t start = clock.NowMs();
    EXPECT_EQ(link.Identify(), 0);
    EXPECT_EQ(link.ErrorFlag, 1);
    EXPECT_LT(clock.NowMs() - start, 500u);
}

TEST_F(LinkFixture, IdentifyCopiesNoMoreThanTheCallerHolds) {
    AnswerWith({0x02, 0xF4, 0x0A, 0x82, 0x15, 0x02, 0x02, 0x03, 1, 2, 2, 3, 4, 5, 6, 0x6F});
    uint8_t copy[10] = {};
    std::fill(std::begin(copy), std::end(copy), 0xEE);
    EXPECT_EQ(link.Identify(copy, 8), 0x15);
    EXPECT_EQ(Bytes(copy, copy + 10), (Bytes{0x82, 0x15, 0x02, 0x03, 1, 2, 3, 4, 0xEE, 0xEE}));
}

TEST_F(LinkFixture, IdentifyOfAnotherModelChangesNothing) {
    link.ModelCode = 0x82;
    link.SoftwareVersion = 21;
    AnswerWith({0x02, 0xF3, 0x55, 0x16, 0x00, 0xB0});
    EXPECT_EQ(link.Identify(), 0);
    EXPECT_EQ(link.ModelCode, 0x82);
    EXPECT_EQ(link.SoftwareVersion, 21);
}

TEST_F(LinkFixture, ReadBlockDataCopiesNoMoreThanTheDestinationHolds) {
    AnswerWith({0x02, 0xF4, 0x05, 1, 2, 2, 3, 4, 5, 0xF0});
    uint8_t dest[4] = {};
    ASSERT_TRUE(link.ReadBlockData(5, dest, 3));
    EXPECT_EQ(Bytes(dest, dest + 4), (Bytes{1, 2, 3, 0}));
}

TEST_F(LinkFixture, TraceSeesEveryFrameAndMissingReplies) {
    sim::SimUnit unit({.model = 0x82, .software = 21, .hardware = 3});
    Connect(unit);
    std::vector<std::pair<TraceEvent, Bytes>> seen;
    link.SetTraceHook([&seen](TraceEvent e, std::span<const uint8_t> b) {
        seen.emplace_back(e, Bytes(b.begin(), b.end()));
    });
    link.Identify();
    unit.faults.silent = true;
    link.Identify();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0], std::make_pair(TraceEvent::Sent, Bytes{0x02, 0x10, 0x10}));
    EXPECT_EQ(seen[1], std::make_pair(TraceEvent::Received,
                                      Bytes{0x02, 0xF4, 0x04, 0x82, 0x15, 0x00, 0x03, 0x64}));
    EXPECT_EQ(seen[3], std::make_pair(TraceEvent::NoReply, Bytes{}));
}

}  // namespace
}  // namespace kq::test
