// Arbitrary bytes through the decoder of both layouts, and the decoded record
// through the encoder. After one encode a block is in normal form: decoding and
// encoding it again must give the same bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

#include "config/ConfigCodec.h"

namespace {

std::vector<uint8_t> Encode(kq::ConfigRecord& rec, uint8_t model) {
    std::vector<uint8_t> block(kq::kConfigBlockSize);
    const std::optional<uint16_t> length = kq::EncodeConfigBlock(rec, model, block);
    block.resize(length.value_or(0));
    return block;
}

void Check(std::span<const uint8_t> input, uint8_t model) {
    kq::ConfigRecord rec;
    if (kq::DecodeConfigBlock(input, model, rec) == kq::DecodeOutcome::Unrecognised) {
        return;
    }
    const std::vector<uint8_t> first = Encode(rec, model);
    if (first.empty()) {
        return;  // texts too long for the block buffer
    }
    kq::ConfigRecord again;
    if (kq::DecodeConfigBlock(first, model, again) == kq::DecodeOutcome::Unrecognised) {
        std::abort();
    }
    const std::vector<uint8_t> second = Encode(again, model);
    kq::ConfigRecord third;
    kq::DecodeConfigBlock(second, model, third);
    if (Encode(third, model) != second) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> input(data, size);
    Check(input, 0x82);
    Check(input, 0x78);
    return 0;
}
