#pragma once
// What a simulated unit holds when it leaves the factory: a believable one-service
// DVB-T channel.

#include <cstdint>
#include <vector>

#include "config/ConfigRecord.h"

namespace kq::sim {

ConfigRecord FactoryRecord(uint8_t model);
// The configuration block for model in its own layout.
std::vector<uint8_t> FactoryBlock(uint8_t model);

}  // namespace kq::sim
