#include "link/Frame.h"

namespace kq {
namespace {

class FrameWriter {
  public:
    explicit FrameWriter(std::span<uint8_t> out) : out_(out) {}

    void Raw(uint8_t byte) {
        if (used_ < out_.size()) {
            out_[used_] = byte;
        }
        ++used_;
    }
    void Stuffed(uint8_t byte) {
        xor_ ^= byte;
        Raw(byte);
        if (byte == kFrameStart) {
            Raw(byte);
        }
    }
    void Checksum() { Stuffed(xor_); }
    size_t Finish() const { return used_ <= out_.size() ? used_ : 0; }

  private:
    std::span<uint8_t> out_;
    size_t used_ = 0;
    uint8_t xor_ = 0;
};

}  // namespace

size_t EncodeFrame(uint8_t code, std::span<const uint8_t> data, std::span<uint8_t> out) {
    const size_t n = data.size();
    if (n > 0xFFFF) {
        return 0;
    }
    FrameWriter w(out);
    w.Raw(kFrameStart);
    if (n <= 3) {
        w.Stuffed(static_cast<uint8_t>(code | n));
    } else if (n <= 255) {
        w.Stuffed(static_cast<uint8_t>(code | 0x04));
        w.Stuffed(static_cast<uint8_t>(n));
    } else {
        w.Stuffed(static_cast<uint8_t>(code | 0x08));
        w.Stuffed(static_cast<uint8_t>(n >> 8));
        w.Stuffed(static_cast<uint8_t>(n & 0xFF));
    }
    for (const uint8_t byte : data) {
        w.Stuffed(byte);
    }
    w.Checksum();
    return w.Finish();
}

FrameParser::FrameParser(std::span<uint8_t> store, HeaderFilter accept)
    : store_(store), accept_(accept) {}

void FrameParser::Reset() {
    state_ = State::Idle;
    pendingStart_ = false;
    xor_ = 0;
}

FrameParser::Result FrameParser::Feed(uint8_t byte) {
    if (pendingStart_) {
        pendingStart_ = false;
        if (byte != kFrameStart) {
            state_ = State::Header;  // a single 0x02: what follows is a new frame's header
        }
        return Handle(byte);
    }
    if (byte == kFrameStart) {
        pendingStart_ = true;
        return Result::More;
    }
    return Handle(byte);
}

FrameParser::Result FrameParser::Handle(uint8_t b) {
    xor_ ^= b;
    switch (state_) {
        case State::Idle:
            return Result::More;
        case State::Header:
            if (!accept_(b)) {
                state_ = State::Idle;
                return Result::More;
            }
            status_ = static_cast<uint8_t>(b & 0xF0);
            length_ = b & 3;
            index_ = 0;
            xor_ = b;
            if (b & 0x08) {
                state_ = State::LengthHigh;
                return Result::More;
            }
            if (b & 0x04) {
                state_ = State::LengthLow;
                return Result::More;
            }
            return AfterLength();
        case State::LengthHigh:
            length_ += b * 256;
            state_ = State::LengthLow;
            return Result::More;
        case State::LengthLow:
            length_ += b;
            return AfterLength();
        case State::Data:
            store_[static_cast<size_t>(index_++)] = b;
            if (index_ == length_) {
                state_ = State::Checksum;
            }
            return Result::More;
        case State::Checksum:
            state_ = State::Idle;
            return xor_ == 0 ? Result::Good : Result::Bad;
    }
    return Result::More;
}

FrameParser::Result FrameParser::AfterLength() {
    if (static_cast<size_t>(length_) > store_.size()) {
        state_ = State::Idle;  // more than the store holds: refuse rather than overrun
        return Result::Bad;
    }
    state_ = length_ == 0 ? State::Checksum : State::Data;
    return Result::More;
}

bool IsReplyHeader(uint8_t header) {
    const uint8_t status = header & 0xF0;
    return status == kStatusAccepted || status == kStatusRefused;
}

bool IsRequestHeader(uint8_t header) {
    return !IsReplyHeader(header) && (header & 0xF0) != 0;
}

}  // namespace kq
