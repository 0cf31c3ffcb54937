#pragma once
// A tone through the system's sound output; silence where there is none.

namespace kq {

class Beeper {
public:
    virtual ~Beeper() = default;
    // Returns after the tone has played (or, without a sound device, at once).
    virtual void Beep(int frequencyHz, int durationMs) = 0;
};

Beeper& SystemBeeper();

}  // namespace kq
