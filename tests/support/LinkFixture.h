#pragma once
// A link wired to in-process simulated ports on a manual clock.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "SimLine.h"
#include "SimUnit.h"
#include "link/CXmit.h"
#include "platform/Clock.h"

namespace kq::test {

using Bytes = std::vector<uint8_t>;

class LinkFixture : public ::testing::Test {
  protected:
    ManualClock clock;
    sim::SimLine line{clock};
    CXmit link{line, clock};

    // Plugs a responder on port 0 that answers every write with reply, and opens it.
    void AnswerWith(Bytes reply) {
        line.Plug(0, [this, reply](std::span<const uint8_t> sent) {
            written.insert(written.end(), sent.begin(), sent.end());
            ++writes;
            return reply;
        });
        link.PortHandle = line.Open(0);
    }
    void Connect(sim::SimUnit& unit, int number = 0) {
        line.Plug(number, unit);
        link.PortHandle = line.Open(number);
    }

    Bytes written;
    int writes = 0;
};

}  // namespace kq::test
