#include "config/CharacterMap.h"

#include <cstddef>

namespace kq {
namespace {

constexpr std::array<char16_t, 256> BuildCharacterMap() {
    std::array<char16_t, 256> map{};
    for (std::size_t b = 0; b < map.size(); ++b) {
        const bool unprintable = b < 32 || (b >= 127 && b <= 160);
        map[b] = unprintable ? u'.' : static_cast<char16_t>(b);
    }
    map[34] = u'\'';
    map[173] = u'-';
    return map;
}

// Every entry of the map is below 256, so membership is one flag per code.
constexpr std::array<bool, 256> BuildOccurs(const std::array<char16_t, 256>& map) {
    std::array<bool, 256> occurs{};
    for (const char16_t c : map) {
        occurs[c] = true;
    }
    return occurs;
}

}  // namespace

constexpr std::array<char16_t, 256> CharacterMap = BuildCharacterMap();

constexpr std::array<uint8_t, 30> AttenuationTable = {
    255, 227, 202, 180, 160, 143, 127, 113, 101, 90, 80, 71, 64, 57, 50,
    45,  40,  36,  32,  28,  25,  22,  20,  18,  16, 14, 12, 11, 10, 9};

bool OccursInCharacterMap(char16_t c) {
    static constexpr std::array<bool, 256> kOccurs = BuildOccurs(CharacterMap);
    return c < kOccurs.size() && kOccurs[c];
}

}  // namespace kq
