#pragma once
// The serial link to the unit: one request frame out, one reply frame back.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include "link/Frame.h"
#include "platform/Clock.h"
#include "platform/SerialPort.h"

namespace kq {

enum class TraceEvent { Sent, Received, NoReply };
// Sees every frame sent and every reply (or the lack of one), as bytes on the wire.
using TraceHook = std::function<void(TraceEvent, std::span<const uint8_t>)>;

constexpr uint8_t kModel78 = 0x78;
constexpr uint8_t kModel82 = 0x82;

class CXmit {
  public:
    CXmit(PortOpener& opener, Clock& clock);
    virtual ~CXmit();
    CXmit(const CXmit&) = delete;
    CXmit& operator=(const CXmit&) = delete;

    // Identification results.
    uint8_t ModelCode = 0;
    uint8_t SoftwareVersion = 0;  // major * 10 + minor; 0 until a unit was identified
    uint8_t HardwareVersion = 0;  // 0 when the reply carried no fourth byte
    uint8_t LastPort = 0;         // where the next scan begins

    // The last accepted reply; read only after a successful exchange.
    uint8_t ReplyStatus = 0;
    std::array<uint8_t, kLinkBufferSize> ReplyData{};
    int32_t ReplyLength = 0;

    // Set when an exchange found no port or got no valid reply in time.
    int32_t ErrorFlag = 0;

    std::unique_ptr<SerialPort> PortHandle;

    // One exchange: false on a missing, damaged or refused reply. Only missing and
    // damaged replies set ErrorFlag. A request whose frame exceeds the request
    // buffer is not sent and leaves ErrorFlag as it was.
    bool Transact(int n, uint8_t command, const uint8_t* data, int timeoutMs);
    bool WriteFrame();
    bool ReadReply(int timeoutMs);

    // Tries the 256 port numbers from LastPort on; true leaves the unit's port open.
    bool ScanPorts();
    // Identifies the unit on the open port: the software version, 0 on failure.
    // On success copies at most copySize bytes of the reply into copy.
    uint8_t Identify(uint8_t* copy = nullptr, size_t copySize = 0);
    void ClosePort() { PortHandle.reset(); }

    // Requests packaged from the command set.
    bool WriteBlockData(uint16_t count, const uint8_t* bytes);
    // On success copies at most destSize bytes of the reply into dest.
    bool ReadBlockData(uint16_t count, uint8_t* dest, size_t destSize);
    // Lines over 255 characters and paths over 254 are refused without sending.
    bool SendShellLine(std::u16string_view line);
    bool OpenUnitFile(std::u16string_view path);
    bool WriteImageBlock(uint32_t address, const uint8_t* bytes, uint16_t count);

    void SetTraceHook(TraceHook hook) { trace_ = std::move(hook); }

  private:
    void Drain();
    void Trace(TraceEvent event, std::span<const uint8_t> bytes) const;
    // Reads the identification reply into the results; false when the model is not ours.
    bool TakeIdentification();

    PortOpener& opener_;
    Clock& clock_;
    std::array<uint8_t, kLinkBufferSize> request_{};
    size_t requestLength_ = 0;
    TraceHook trace_;
};

// Stores the low 8 bits of each UTF-16 code unit of text, then 0x00. Returns the
// count stored including the 0x00, or 0 (nothing stored) when it does not fit.
size_t NarrowText(std::u16string_view text, std::span<uint8_t> out);

}  // namespace kq
