#pragma once
// Byte-level tables of the configuration block: text bytes and output amplitudes.

#include <array>
#include <cstdint>

namespace kq {

// The character each text byte of a block stands for: ISO 8859-1, except that 0..31
// and 127..160 show as '.', 34 as an apostrophe and 173 as '-'. Only characters that
// occur here survive a trip through a block.
extern const std::array<char16_t, 256> CharacterMap;

// Output amplitude for 0..29 dB of attenuation, floor(255 * 10^(-k/20)).
extern const std::array<uint8_t, 30> AttenuationTable;

// True when some byte stands for c, so that a block can carry c as its low 8 bits.
bool OccursInCharacterMap(char16_t c);

}  // namespace kq
