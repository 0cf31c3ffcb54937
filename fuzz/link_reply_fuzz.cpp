// Feeds arbitrary bytes to the link as the unit's reply.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "SimLine.h"
#include "link/CXmit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kq::ManualClock clock;
    kq::sim::SimLine line(clock);
    const std::vector<uint8_t> reply(data, data + size);
    line.Plug(0, [&reply](std::span<const uint8_t>) { return reply; });
    kq::CXmit link(line, clock);
    link.PortHandle = line.Open(0);
    if (link.Transact(0, 0x10, nullptr, 500) && link.ReplyLength > kq::kLinkBufferSize) {
        __builtin_trap();  // a reply longer than the store must never be accepted
    }
    uint8_t copy[8];
    link.Identify(copy, sizeof copy);
    link.ReadBlockData(256, copy, sizeof copy);
    return 0;
}
