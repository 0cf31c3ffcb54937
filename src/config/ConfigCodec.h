#pragma once
// The configuration block: the byte form of a ConfigRecord in the layout of the
// unit's model. Model 0x82 has a bare field list; every other model uses the block
// that opens with "PFZJ", a header byte and the block length. Positions within a
// block are 16-bit, so only the first 65535 bytes of a span are ever used.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config/ConfigRecord.h"

namespace kq {

// The buffer that blocks are built in and received into.
constexpr std::size_t kConfigBlockSize = 4096;

// "PFZJ" as ReadLe32 returns it from the first four bytes of a block.
constexpr uint32_t kPfzjMagic = 0x4A5A4650;

// Reads the 0-terminated text at pos through CharacterMap and moves pos past the 0.
// A text missing its 0 ends with the data, pos then at the end; pos at or past the
// end gives an empty text and stays.
std::u16string ReadRecordText(std::span<const uint8_t> block, uint16_t& pos);

// Writes one byte per character, '.' for a character no byte stands for, then a 0,
// and moves pos past it. False when that does not fit: block and pos are untouched.
bool WriteRecordText(std::u16string_view text, std::span<uint8_t> block, uint16_t& pos);

// The little-endian 32-bit value at pos, pos moved by 4; std::nullopt with pos
// untouched when fewer than four bytes remain.
std::optional<uint32_t> ReadLe32(std::span<const uint8_t> block, uint16_t& pos);

// Puts a frequency, PID set or video bit rate the unit would refuse back to a
// setting it accepts.
void CorrectConfigRecord(ConfigRecord& rec);

// Corrects rec in place, then writes its block for modelCode at the start of block
// and returns the length. std::nullopt when the block does not fit: rec stays
// corrected, block holds part of it, and nothing past the span has been written.
std::optional<uint16_t> EncodeConfigBlock(ConfigRecord& rec, uint8_t modelCode,
                                          std::span<uint8_t> block);

enum class DecodeOutcome { Model82, Model78, Unrecognised };

// Decodes block into rec. Model 0x82 takes any bytes; other models need the "PFZJ"
// magic, and without it rec is untouched. Fields the layout lacks, and fields lying
// beyond the bytes given, keep their values. Closing the unit's block access after
// Model78 and reporting Unrecognised are the caller's.
DecodeOutcome DecodeConfigBlock(std::span<const uint8_t> block, uint8_t modelCode,
                                ConfigRecord& rec);

}  // namespace kq
