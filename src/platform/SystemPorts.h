#pragma once
// The operating system's serial ports. One implementation per OS, chosen at build time.

#include <memory>

#include "platform/SerialPort.h"

namespace kq {

// On POSIX: with KQIFACE_PORTS set (a path pattern with one %d) port p is that
// path; otherwise p is /dev/ttyUSB<p>, /dev/ttyACM<p> or /dev/ttyS<p>, the first
// that opens. On Windows: \\.\COM<p>.
std::unique_ptr<PortOpener> MakeSystemPortOpener();

}  // namespace kq
