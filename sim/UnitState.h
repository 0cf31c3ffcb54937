#pragma once
// Keeps a simulated unit's stored blocks in a folder, so that it remembers its
// configuration across kqsim restarts like a real unit across power cycles.

#include <filesystem>
#include <string>

#include "SimUnit.h"

namespace kq::sim {

// Loads what the folder holds into unit (nothing when empty). False with a message in
// error when the folder cannot be created or a file cannot be read.
bool LoadUnitState(const std::filesystem::path& folder, SimUnit& unit, std::string& error);
// Writes the unit's stored blocks; each file is replaced whole, never left half-written.
bool SaveUnitState(const std::filesystem::path& folder, const SimUnit& unit, std::string& error);

// One line for the log: the channel and service the unit's configuration describes.
std::string DescribeConfiguration(const SimUnit& unit);

// The front panel's "next channel": the configuration moves 8 MHz up (wrapping back to
// 474 MHz above 858 MHz) and the unit raises its changed status.
void FrontPanelNextChannel(SimUnit& unit);

}  // namespace kq::sim
