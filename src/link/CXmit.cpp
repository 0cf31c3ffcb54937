#include "link/CXmit.h"

#include <algorithm>
#include <vector>

namespace kq {
namespace {

constexpr uint8_t kIdentify = 0x10;
constexpr int kIdentifyTimeoutMs = 500;
constexpr int kWriteChunk = 256;
constexpr int kReadChunk = 256;
constexpr size_t kTextBuffer = 256;

}  // namespace

CXmit::CXmit(PortOpener& opener, Clock& clock) : opener_(opener), clock_(clock) {}

CXmit::~CXmit() = default;

bool CXmit::Transact(int n, uint8_t command, const uint8_t* data, int timeoutMs) {
    if (!PortHandle) {
        ErrorFlag = 1;
        return false;
    }
    if (n < 0 || (n > 0 && data == nullptr)) {
        return false;
    }
    requestLength_ = EncodeFrame(command, {data, static_cast<size_t>(n)}, request_);
    if (requestLength_ == 0) {
        return false;  // too long for the request buffer: nothing sent
    }
    Drain();
    WriteFrame();
    if (!ReadReply(timeoutMs)) {
        ErrorFlag = 1;
        return false;
    }
    return ReplyStatus != kStatusRefused;
}

void CXmit::Drain() {
    uint8_t stale[kReadChunk];
    while (PortHandle->Read(stale, kReadChunk, 0) > 0) {
    }
}

bool CXmit::WriteFrame() {
    if (!PortHandle) {
        return false;
    }
    Trace(TraceEvent::Sent, {request_.data(), requestLength_});
    for (size_t done = 0; done < requestLength_;) {
        const int chunk = static_cast<int>(std::min<size_t>(kWriteChunk, requestLength_ - done));
        if (!PortHandle->Write(request_.data() + done, chunk)) {
            return false;  // the reply wait then runs out
        }
        done += static_cast<size_t>(chunk);
    }
    return true;
}

bool CXmit::ReadReply(int timeoutMs) {
    if (!PortHandle) {
        return false;
    }
    FrameParser parser(ReplyData, IsReplyHeader);
    std::vector<uint8_t> wire;  // what came in, kept only for a trace
    const uint64_t deadline = clock_.NowMs() + static_cast<uint64_t>(std::max(timeoutMs, 0));
    auto result = FrameParser::Result::More;
    uint8_t chunk[kReadChunk];
    while (result == FrameParser::Result::More) {
        const uint64_t now = clock_.NowMs();
        if (now >= deadline) {
            break;
        }
        const int got = PortHandle->Read(chunk, kReadChunk, static_cast<int>(deadline - now));
        if (got < 0) {
            break;  // the port is gone; waiting longer cannot help
        }
        int used = 0;
        while (used < got && result == FrameParser::Result::More) {
            result = parser.Feed(chunk[used++]);
        }
        if (trace_) {
            wire.insert(wire.end(), chunk, chunk + used);
        }
    }
    // Bytes read after the checksum are dropped, as the next exchange's drain would.
    const bool good = result == FrameParser::Result::Good;
    if (good) {
        ReplyStatus = parser.Status();
        ReplyLength = parser.Length();
    }
    Trace(good ? TraceEvent::Received : TraceEvent::NoReply, wire);
    return good;
}

void CXmit::Trace(TraceEvent event, std::span<const uint8_t> bytes) const {
    if (trace_) {
        trace_(event, bytes);
    }
}

bool CXmit::TakeIdentification() {
    auto byte = [this](int i) -> uint8_t {
        return i < ReplyLength ? ReplyData[static_cast<size_t>(i)] : 0;
    };
    if (ReplyLength < 1 || (byte(0) != kModel78 && byte(0) != kModel82)) {
        return false;
    }
    ModelCode = byte(0);
    SoftwareVersion = byte(1);
    HardwareVersion = ReplyLength >= 4 ? byte(3) : 0;
    return true;
}

bool CXmit::ScanPorts() {
    ClosePort();
    uint8_t p = LastPort;
    do {
        PortHandle = opener_.Open(p);
        if (PortHandle) {
            const bool found = Transact(0, kIdentify, nullptr, kIdentifyTimeoutMs) &&
                               TakeIdentification() && SoftwareVersion != 0;
            if (found) {
                LastPort = p;
                ErrorFlag = 0;
                return true;
            }
            ClosePort();
        }
        ++p;  // wraps from 255 to 0
    } while (p != LastPort);
    return false;
}

uint8_t CXmit::Identify(uint8_t* copy, size_t copySize) {
    if (!Transact(0, kIdentify, nullptr, kIdentifyTimeoutMs) || !TakeIdentification()) {
        return 0;
    }
    if (copy != nullptr) {
        std::copy_n(ReplyData.begin(), std::min(copySize, static_cast<size_t>(ReplyLength)), copy);
    }
    return SoftwareVersion;
}

bool CXmit::WriteBlockData(uint16_t count, const uint8_t* bytes) {
    std::vector<uint8_t> data(count + 1u);
    data[0] = 0x04;
    std::copy_n(bytes, count, data.begin() + 1);
    return Transact(static_cast<int>(data.size()), 0xC0, data.data(), 5000);
}

bool CXmit::ReadBlockData(uint16_t count, uint8_t* dest, size_t destSize) {
    const uint8_t data[3] = {0x03, static_cast<uint8_t>(count & 0xFF),
                             static_cast<uint8_t>(count >> 8)};
    if (!Transact(3, 0xC0, data, 5000)) {
        return false;
    }
    std::copy_n(ReplyData.begin(), std::min(destSize, static_cast<size_t>(ReplyLength)), dest);
    return true;
}

bool CXmit::SendShellLine(std::u16string_view line) {
    uint8_t buffer[kTextBuffer];
    const size_t n = NarrowText(line, buffer);
    return n != 0 && Transact(static_cast<int>(n), 0x80, buffer, 5000);
}

bool CXmit::OpenUnitFile(std::u16string_view path) {
    uint8_t buffer[kTextBuffer];
    buffer[0] = 0x00;
    const size_t n = NarrowText(path, std::span(buffer).subspan(1));
    return n != 0 && Transact(static_cast<int>(n + 1), 0xA0, buffer, 200);
}

bool CXmit::WriteImageBlock(uint32_t address, const uint8_t* bytes, uint16_t count) {
    std::vector<uint8_t> data(count + 4u);
    data[0] = 0x01;
    data[1] = static_cast<uint8_t>(address >> 16);
    data[2] = static_cast<uint8_t>(address >> 8);
    data[3] = static_cast<uint8_t>(address);
    std::copy_n(bytes, count, data.begin() + 4);
    return Transact(static_cast<int>(data.size()), 0xC0, data.data(), 5000);
}

size_t NarrowText(std::u16string_view text, std::span<uint8_t> out) {
    if (text.size() + 1 > out.size()) {
        return 0;
    }
    size_t i = 0;
    for (const char16_t unit : text) {
        out[i++] = static_cast<uint8_t>(unit & 0xFF);
    }
    out[i++] = 0x00;
    return i;
}

}  // namespace kq
