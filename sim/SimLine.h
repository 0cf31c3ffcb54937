#pragma once
// In-process serial ports wired to simulated units: a PortOpener that the link can
// scan, with numbers that can be plugged, unplugged and watched.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <vector>

#include "SimUnit.h"
#include "platform/Clock.h"
#include "platform/SerialPort.h"

namespace kq::sim {

// Turns the bytes the tool wrote into the bytes that come back.
using Responder = std::function<std::vector<uint8_t>(std::span<const uint8_t>)>;

class SimLine : public PortOpener {
  public:
    // A silent port makes a reader wait: the clock is slept by the wait asked for,
    // which costs nothing with a ManualClock.
    explicit SimLine(Clock& clock) : clock_(clock) {}

    void Plug(int number, SimUnit& unit);
    void Plug(int number, Responder responder);
    // The port vanishes; an open handle fails from now on.
    void Unplug(int number);
    // The number exists but another program holds it.
    void MarkBusy(int number) { busy_.insert(number); }

    std::unique_ptr<SerialPort> Open(int number) override;

    // Every number Open was asked for, in order.
    const std::vector<int>& Attempts() const { return attempts_; }
    void ClearAttempts() { attempts_.clear(); }

    struct Socket {
        Responder responder;
        bool open = false;
        std::deque<uint8_t> pending;
    };

  private:
    Clock& clock_;
    std::map<int, std::shared_ptr<Socket>> sockets_;
    std::set<int> busy_;
    std::vector<int> attempts_;
};

}  // namespace kq::sim
