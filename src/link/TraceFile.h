#pragma once
// The traffic trace support staff ask for: one line per frame, appended to a file.

#include <string>

#include "link/CXmit.h"

namespace kq {

// "12:03:41.207 TX 02 10 10"; a missing or damaged reply reads "RX none" followed
// by whatever bytes did arrive.
std::string FormatTraceLine(TraceEvent event, std::span<const uint8_t> bytes);

// With KQIFACE_TRACE=<file> in the environment, hooks link to append to that file.
// Returns false when the variable is unset or the file cannot be opened; the link
// then traces nothing.
bool InstallTraceFromEnvironment(CXmit& link);

}  // namespace kq
