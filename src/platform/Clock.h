#pragma once
// Time as the link and the flows see it; tests substitute a manual clock.

#include <cstdint>

namespace kq {

class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds on a monotonic scale; only differences mean anything.
    virtual uint64_t NowMs() = 0;
    virtual void SleepMs(int ms) = 0;
};

// The process's monotonic clock.
Clock& SystemClock();

// A clock that only moves when told to: Sleep advances it at once.
class ManualClock : public Clock {
  public:
    uint64_t NowMs() override { return now_; }
    void SleepMs(int ms) override { Advance(ms); }
    void Advance(int ms) { now_ += ms > 0 ? static_cast<uint64_t>(ms) : 0; }

  private:
    uint64_t now_ = 1000;
};

}  // namespace kq
