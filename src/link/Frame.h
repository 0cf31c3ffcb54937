#pragma once
// The frame shared by requests and replies: 0x02, header, optional length bytes,
// data, XOR checksum; every byte after the start byte that equals 0x02 is doubled.

#include <cstddef>
#include <cstdint>
#include <span>

namespace kq {

constexpr uint8_t kFrameStart = 0x02;
constexpr uint8_t kStatusAccepted = 0xF0;
constexpr uint8_t kStatusRefused = 0xE0;
constexpr int kLinkBufferSize = 4096;

// Builds the frame for code (a multiple of 0x10) and data into out. Returns the
// frame length, or 0 when the stuffed frame does not fit in out or the data is
// longer than the 16-bit length field carries; out is then partly written.
size_t EncodeFrame(uint8_t code, std::span<const uint8_t> data, std::span<uint8_t> out);

// Reads one frame a byte at a time. A single 0x02 starts a frame anywhere; bytes
// before it are ignored, and so is a frame whose header the filter rejects.
class FrameParser {
  public:
    enum class Result { More, Good, Bad };
    using HeaderFilter = bool (*)(uint8_t header);

    // Data bytes go to store; a frame that declares more than the store holds ends Bad.
    FrameParser(std::span<uint8_t> store, HeaderFilter accept);

    void Reset();
    // Good or Bad once the checksum byte (or an oversized length) has been seen.
    Result Feed(uint8_t byte);

    uint8_t Status() const { return status_; }  // header & 0xF0
    int Length() const { return length_; }

  private:
    enum class State { Idle, Header, LengthHigh, LengthLow, Data, Checksum };
    Result Handle(uint8_t byte);
    Result AfterLength();

    std::span<uint8_t> store_;
    HeaderFilter accept_;
    State state_ = State::Idle;
    bool pendingStart_ = false;
    uint8_t xor_ = 0;
    uint8_t status_ = 0;
    int length_ = 0;
    int index_ = 0;
};

// Reply headers carry status 0xE (refused) or 0xF (accepted).
bool IsReplyHeader(uint8_t header);
// Request headers carry a command code; 0x00 and the reply statuses are not commands.
bool IsRequestHeader(uint8_t header);

}  // namespace kq
