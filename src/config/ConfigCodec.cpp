#include "config/ConfigCodec.h"

#include <algorithm>

#include "config/CharacterMap.h"

namespace kq {
namespace {

constexpr uint8_t kModel82 = 0x82;
constexpr uint16_t kHeader78Size = 7;  // magic, header byte, block length
constexpr std::size_t kMaxBlock = 0xFFFF;
constexpr int32_t kMaxLevelAtt = 29;

std::size_t UsableSize(std::size_t size) {
    return std::min(size, kMaxBlock);
}

// The level of the first table amplitude not above this one; anything below the
// weakest amplitude is the weakest level.
int32_t LevelFromAmplitude(uint32_t amplitude) {
    for (std::size_t k = 0; k + 1 < AttenuationTable.size(); ++k) {
        if (amplitude >= AttenuationTable[k]) {
            return kMaxLevelAtt - static_cast<int32_t>(k);
        }
    }
    return 0;
}

// A level out of 0..29 (only a model-0x82 block can produce one) is held to the
// nearest end rather than reading outside the table.
uint8_t AmplitudeFromLevel(int32_t levelAtt) {
    const int32_t level = std::clamp(levelAtt, 0, kMaxLevelAtt);
    return AttenuationTable[static_cast<std::size_t>(kMaxLevelAtt - level)];
}

// Reads fields in order. The first field that runs past the data ends the reading:
// it and every later field keep the record's values.
class BlockReader {
  public:
    BlockReader(std::span<const uint8_t> block, uint16_t pos)
        : block_(block.first(UsableSize(block.size()))), pos_(pos) {}

    uint16_t Pos() const { return pos_; }
    bool Ended() const { return ended_; }

    std::optional<uint32_t> Le(std::size_t width) {
        if (ended_ || pos_ > block_.size() || block_.size() - pos_ < width) {
            ended_ = true;
            return std::nullopt;
        }
        uint32_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            value |= static_cast<uint32_t>(block_[pos_ + i]) << (8 * i);
        }
        pos_ = static_cast<uint16_t>(pos_ + width);
        return value;
    }

    void U8(int32_t& field) { Set(field, Le(1), 1); }
    void U16(int32_t& field) { Set(field, Le(2), 1); }
    void U32(int32_t& field) { Set(field, Le(4), 1); }

    void Text(std::u16string& field) {
        if (ended_ || pos_ >= block_.size()) {
            ended_ = true;
            return;
        }
        // A text without its 0 takes the rest of the data; the next field then ends it.
        field = ReadRecordText(block_, pos_);
    }

    void Attenuation(int32_t& levelAtt) {
        if (const auto b = Le(1)) {
            levelAtt = kMaxLevelAtt - static_cast<int32_t>(*b);
        }
    }
    void Version5(int32_t& version) {
        if (const auto b = Le(1)) {
            version = static_cast<int32_t>(*b & 0x1FU);
        }
    }
    void Megahertz(int32_t& frequencyKHz) { Set(frequencyKHz, Le(2), 1000); }
    void Units125(int32_t& frequencyKHz) { Set(frequencyKHz, Le(2), 125); }
    void Amplitude(int32_t& levelAtt) {
        if (const auto b = Le(1)) {
            levelAtt = LevelFromAmplitude(*b);
        }
    }
    void PictureFormatPlusOne(int32_t& pictureFormat) {
        if (const auto b = Le(1)) {
            pictureFormat = *b == 0 ? 0 : static_cast<int32_t>(*b - 1);
        }
    }

  private:
    // Scaled 16-bit fields stay far below 2^31; a 32-bit field above it wraps negative.
    static void Set(int32_t& field, std::optional<uint32_t> value, uint32_t scale) {
        if (value) {
            field = static_cast<int32_t>(*value * scale);
        }
    }

    std::span<const uint8_t> block_;
    uint16_t pos_;
    bool ended_ = false;
};

// Writes fields in order, each at its width keeping the low bits. The first field
// that does not fit stops all writing, so nothing lands past the span.
class BlockWriter {
  public:
    BlockWriter(std::span<uint8_t> block, uint16_t pos)
        : block_(block.first(UsableSize(block.size()))), pos_(pos) {}

    uint16_t Pos() const { return pos_; }
    bool Ok() const { return ok_; }

    void Le(uint32_t value, std::size_t width) {
        if (!ok_ || pos_ > block_.size() || block_.size() - pos_ < width) {
            ok_ = false;
            return;
        }
        for (std::size_t i = 0; i < width; ++i) {
            block_[pos_ + i] = static_cast<uint8_t>(value >> (8 * i));
        }
        pos_ = static_cast<uint16_t>(pos_ + width);
    }

    void U8(int32_t value) { Le(static_cast<uint32_t>(value), 1); }
    void U16(int32_t value) { Le(static_cast<uint32_t>(value), 2); }
    void U32(int32_t value) { Le(static_cast<uint32_t>(value), 4); }

    void Text(std::u16string_view text) {
        if (ok_ && !WriteRecordText(text, block_, pos_)) {
            ok_ = false;
        }
    }

    // Unsigned arithmetic: out-of-range values only need their low bits.
    void Attenuation(int32_t levelAtt) {
        Le(static_cast<uint32_t>(kMaxLevelAtt) - static_cast<uint32_t>(levelAtt), 1);
    }
    void Version5(int32_t version) { Le(static_cast<uint32_t>(version) & 0x1FU, 1); }
    void Megahertz(int32_t frequencyKHz) { Le(static_cast<uint32_t>(frequencyKHz / 1000), 2); }
    void Units125(int32_t frequencyKHz) { Le(static_cast<uint32_t>(frequencyKHz / 125), 2); }
    void Amplitude(int32_t levelAtt) { Le(AmplitudeFromLevel(levelAtt), 1); }
    void PictureFormatPlusOne(int32_t pictureFormat) {
        Le(static_cast<uint32_t>(pictureFormat) + 1U, 1);
    }

  private:
    std::span<uint8_t> block_;
    uint16_t pos_;
    bool ok_ = true;
};

// Each layout is described once and walked by the reader to decode and by the
// writer to encode, so the two directions cannot drift apart.
template <class Io, class Record>
void Walk82(Io& io, Record& r) {
    io.Text(r.reference);
    io.U8(r.defaultCountry);
    io.U8(r.country);
    io.U8(r.opaqueByte1);
    io.U32(r.frequencyKHz);
    io.U8(r.bandwidth);
    io.U8(r.transmissionMode);
    io.U8(r.constellation);
    io.U8(r.codeRate);
    io.U8(r.guardInterval);
    io.Attenuation(r.levelAtt);
    io.U8(r.opaqueByte2);
    io.U16(r.opaqueWord1);
    io.U8(r.version);
    io.U16(r.networkId);
    io.U16(r.originalNetworkId);
    io.Text(r.networkName);

    io.U16(r.tsId);
    io.U8(r.opaqueByte0);
    io.U16(r.serviceId);
    io.U8(r.lcnMode);
    io.U16(r.lcn);
    io.U16(r.opaqueWord2);
    io.Text(r.serviceName);

    io.U16(r.pmtPid);
    io.U16(r.videoPid);
    io.U16(r.audioPid);
    io.U16(r.videoBitrate);
    io.U8(r.audioBitrate);
    io.U8(r.opaqueByte3);
    io.U8(r.opaqueByte4);
    io.U8(r.videoStandard);
    io.U8(r.opaqueByte5);
    io.U8(r.opaqueByte6);
    io.U8(r.opaqueByte7);
    io.U8(r.opaqueByte8);
    io.Text(r.opaqueText1);

    io.U16(r.opaqueWord3);
    io.U8(r.opaqueByte9);
    io.U8(r.opaqueByte10);
    io.U8(r.opaqueByte11);
    io.Text(r.logoName);

    io.U8(r.opaqueByte12);
    io.U8(r.opaqueByte13);
    io.U8(r.opaqueByte14);
    io.U8(r.opaqueByte15);
    io.U8(r.opaqueByte16);
    io.U8(r.opaqueByte17);
    io.U8(r.opaqueByte18);
    io.Text(r.opaqueText2);
    io.Text(r.opaqueText3);
    io.Text(r.opaqueText4);

    io.U8(r.opaqueByte19);
    io.U8(r.opaqueByte20);
    io.U8(r.opaqueByte21);
    io.Text(r.eitName);
    io.Text(r.eitText);

    io.U8(r.audioCodec);
    io.U8(r.videoCodec);
    io.U8(r.opaqueByte22);
    io.U8(r.opaqueByte23);
    io.U8(r.pictureFormat);
    io.U8(r.light);
    io.U8(r.contrast);
    io.U8(r.saturation);
}

// The model-0x78 fields after the header and before the optional tail.
template <class Io, class Record>
void Walk78Body(Io& io, Record& r) {
    io.Text(r.reference);
    io.U16(r.tsId);
    io.U16(r.serviceId);
    io.Version5(r.version);
    io.U8(r.opaqueByte0);
    io.U8(r.country);
    io.Megahertz(r.frequencyKHz);
    io.U8(r.bandwidth);
    io.U8(r.transmissionMode);
    io.U8(r.constellation);
    io.U8(r.codeRate);
    io.U8(r.guardInterval);
    io.Amplitude(r.levelAtt);
    io.U16(r.pmtPid);
    io.U16(r.videoPid);
    io.U16(r.audioPid);
    io.U16(r.videoBitrate);
    io.U8(r.audioBitrate);
    io.U16(r.lcn);
    io.U16(r.originalNetworkId);
    io.Text(r.serviceName);
    io.Text(r.networkName);

    io.U8(r.videoStandard);
    io.PictureFormatPlusOne(r.pictureFormat);
    io.U8(r.light);
    io.U8(r.contrast);
    io.U8(r.saturation);
}

DecodeOutcome Decode78(std::span<const uint8_t> block, ConfigRecord& rec) {
    BlockReader in(block, 4);
    in.U8(rec.opaqueHeaderByte);
    const std::optional<uint32_t> length = in.Le(2);
    Walk78Body(in, rec);

    // The tail is optional by the block's length field, not by the data: a field is
    // there while the position is below that length. Once the data itself has run
    // out (always so when the length field is missing), the rest keep their values.
    const auto tail = [&](auto present, auto absent) {
        if (!in.Ended()) {
            if (in.Pos() < *length) {
                present();
            } else {
                absent();
            }
        }
    };
    tail([&] { in.U16(rec.networkId); }, [&] { rec.networkId = rec.originalNetworkId; });
    tail([&] { in.Units125(rec.frequencyKHz); }, [] {});
    tail([&] { in.U8(rec.defaultCountry); }, [&] { rec.defaultCountry = 0; });
    tail([&] { in.U8(rec.lcnMode); }, [&] { rec.lcnMode = 0; });
    return DecodeOutcome::Model78;
}

std::optional<uint16_t> Encode78(const ConfigRecord& rec, std::span<uint8_t> block) {
    BlockWriter out(block, kHeader78Size);
    Walk78Body(out, rec);
    out.U16(rec.networkId);
    out.Units125(rec.frequencyKHz);
    out.U8(rec.defaultCountry);
    out.U8(rec.lcnMode);
    if (!out.Ok()) {
        return std::nullopt;
    }
    // The header goes last because it carries the final length.
    const uint16_t length = out.Pos();
    BlockWriter header(block, 0);
    header.Le(kPfzjMagic, 4);
    header.U8(rec.opaqueHeaderByte);
    header.Le(length, 2);
    return length;
}

}  // namespace

std::u16string ReadRecordText(std::span<const uint8_t> block, uint16_t& pos) {
    const std::size_t end = UsableSize(block.size());
    std::u16string text;
    std::size_t i = pos;
    while (i < end && block[i] != 0) {
        text.push_back(CharacterMap[block[i]]);
        ++i;
    }
    if (i < end) {
        ++i;  // past the 0
    }
    pos = static_cast<uint16_t>(std::max<std::size_t>(i, pos));
    return text;
}

bool WriteRecordText(std::u16string_view text, std::span<uint8_t> block, uint16_t& pos) {
    const std::size_t end = UsableSize(block.size());
    if (pos > end || end - pos < text.size() + 1) {
        return false;
    }
    std::size_t i = pos;
    for (const char16_t c : text) {
        block[i++] = OccursInCharacterMap(c) ? static_cast<uint8_t>(c) : uint8_t{'.'};
    }
    block[i++] = 0;
    pos = static_cast<uint16_t>(i);
    return true;
}

std::optional<uint32_t> ReadLe32(std::span<const uint8_t> block, uint16_t& pos) {
    BlockReader in(block, pos);
    const std::optional<uint32_t> value = in.Le(4);
    pos = in.Pos();
    return value;
}

void CorrectConfigRecord(ConfigRecord& rec) {
    if (rec.frequencyKHz < 47000 || rec.frequencyKHz > 862000) {
        rec.frequencyKHz = 474000;
    }
    const auto outside = [](int32_t pid) { return pid < 32 || pid > 8190; };
    if (rec.pmtPid == rec.videoPid || rec.pmtPid == rec.audioPid || rec.videoPid == rec.audioPid ||
        outside(rec.pmtPid) || outside(rec.videoPid) || outside(rec.audioPid)) {
        rec.pmtPid = 32;
        rec.videoPid = 48;
        rec.audioPid = 49;
    }
    if (rec.videoBitrate < 5000 || rec.videoBitrate > 12000) {
        rec.videoBitrate = 6000;
    }
}

std::optional<uint16_t> EncodeConfigBlock(ConfigRecord& rec, uint8_t modelCode,
                                          std::span<uint8_t> block) {
    CorrectConfigRecord(rec);
    const ConfigRecord& corrected = rec;
    if (modelCode != kModel82) {
        return Encode78(corrected, block);
    }
    BlockWriter out(block, 0);
    Walk82(out, corrected);
    if (!out.Ok()) {
        return std::nullopt;
    }
    return out.Pos();
}

DecodeOutcome DecodeConfigBlock(std::span<const uint8_t> block, uint8_t modelCode,
                                ConfigRecord& rec) {
    if (modelCode == kModel82) {
        BlockReader in(block, 0);
        Walk82(in, rec);
        return DecodeOutcome::Model82;
    }
    uint16_t pos = 0;
    if (ReadLe32(block, pos) != kPfzjMagic) {
        return DecodeOutcome::Unrecognised;
    }
    return Decode78(block, rec);
}

}  // namespace kq
