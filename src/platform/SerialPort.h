#pragma once
// The serial line as the link sees it. Backends: the operating system's ports
// (one file per OS under platform/) and the simulated unit (sim/).

#include <cstdint>
#include <memory>
#include <string>

namespace kq {

class SerialPort {
  public:
    virtual ~SerialPort() = default;

    // Reads what has arrived, up to max bytes, waiting at most timeoutMs for the
    // first byte (0: do not wait). Returns the count, 0 when nothing came, or -1
    // when the port is gone (unplugged adapter, closed peer); the port stays open
    // but every later call fails too.
    virtual int Read(uint8_t* buffer, int max, int timeoutMs) = 0;

    // Writes all n bytes. False when the port failed part-way; what went out stays out.
    virtual bool Write(const uint8_t* bytes, int n) = 0;
};

// Opens port numbers 0..255 configured for the unit: 115200 baud, 8 data bits,
// no parity, one stop bit, no flow control, exclusive use.
class PortOpener {
  public:
    virtual ~PortOpener() = default;

    // Null when the number does not exist, is in use, or is not a serial device.
    virtual std::unique_ptr<SerialPort> Open(int number) = 0;
};

}  // namespace kq
