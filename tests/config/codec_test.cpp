// Configuration blocks byte for byte against both layouts, built here field by
// field, and the decoder on short, cut or foreign data.

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/CharacterMap.h"
#include "config/ConfigCodec.h"

namespace kq {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t k82 = 0x82;
constexpr uint8_t k78 = 0x78;
constexpr uint8_t kOtherModel = 0x10;  // anything but 0x82 takes the "PFZJ" layout

struct IntField {
    const char* name;
    int32_t ConfigRecord::*member;
};
struct TextField {
    const char* name;
    std::u16string ConfigRecord::*member;
};
#define KQ_FIELD(f) \
    { #f, &ConfigRecord::f }
const IntField kIntFields[] = {
    KQ_FIELD(videoStandard),  KQ_FIELD(pictureFormat),
    KQ_FIELD(light),          KQ_FIELD(contrast),
    KQ_FIELD(saturation),     KQ_FIELD(videoCodec),
    KQ_FIELD(videoBitrate),   KQ_FIELD(audioCodec),
    KQ_FIELD(audioBitrate),   KQ_FIELD(frequencyKHz),
    KQ_FIELD(bandwidth),      KQ_FIELD(transmissionMode),
    KQ_FIELD(constellation),  KQ_FIELD(codeRate),
    KQ_FIELD(guardInterval),  KQ_FIELD(levelAtt),
    KQ_FIELD(tsId),           KQ_FIELD(version),
    KQ_FIELD(networkId),      KQ_FIELD(originalNetworkId),
    KQ_FIELD(serviceId),      KQ_FIELD(lcn),
    KQ_FIELD(lcnMode),        KQ_FIELD(pmtPid),
    KQ_FIELD(videoPid),       KQ_FIELD(audioPid),
    KQ_FIELD(defaultCountry), KQ_FIELD(country),
    KQ_FIELD(opaqueByte0),    KQ_FIELD(opaqueHeaderByte),
    KQ_FIELD(opaqueByte1),    KQ_FIELD(opaqueByte2),
    KQ_FIELD(opaqueByte3),    KQ_FIELD(opaqueByte4),
    KQ_FIELD(opaqueByte5),    KQ_FIELD(opaqueByte6),
    KQ_FIELD(opaqueByte7),    KQ_FIELD(opaqueByte8),
    KQ_FIELD(opaqueByte9),    KQ_FIELD(opaqueByte10),
    KQ_FIELD(opaqueByte11),   KQ_FIELD(opaqueByte12),
    KQ_FIELD(opaqueByte13),   KQ_FIELD(opaqueByte14),
    KQ_FIELD(opaqueByte15),   KQ_FIELD(opaqueByte16),
    KQ_FIELD(opaqueByte17),   KQ_FIELD(opaqueByte18),
    KQ_FIELD(opaqueByte19),   KQ_FIELD(opaqueByte20),
    KQ_FIELD(opaqueByte21),   KQ_FIELD(opaqueByte22),
    KQ_FIELD(opaqueByte23),   KQ_FIELD(opaqueWord1),
    KQ_FIELD(opaqueWord2),    KQ_FIELD(opaqueWord3),
};
const TextField kTextFields[] = {
    KQ_FIELD(reference),   KQ_FIELD(networkName), KQ_FIELD(serviceName), KQ_FIELD(eitName),
    KQ_FIELD(eitText),     KQ_FIELD(logoName),    KQ_FIELD(opaqueText1), KQ_FIELD(opaqueText2),
    KQ_FIELD(opaqueText3), KQ_FIELD(opaqueText4),
};
#undef KQ_FIELD

// What the model-0x78 layout carries; decoding it leaves every other field alone.
const std::vector<int32_t ConfigRecord::*> k78Ints = {
    &ConfigRecord::tsId,
    &ConfigRecord::serviceId,
    &ConfigRecord::version,
    &ConfigRecord::opaqueByte0,
    &ConfigRecord::country,
    &ConfigRecord::frequencyKHz,
    &ConfigRecord::bandwidth,
    &ConfigRecord::transmissionMode,
    &ConfigRecord::constellation,
    &ConfigRecord::codeRate,
    &ConfigRecord::guardInterval,
    &ConfigRecord::levelAtt,
    &ConfigRecord::pmtPid,
    &ConfigRecord::videoPid,
    &ConfigRecord::audioPid,
    &ConfigRecord::videoBitrate,
    &ConfigRecord::audioBitrate,
    &ConfigRecord::lcn,
    &ConfigRecord::originalNetworkId,
    &ConfigRecord::videoStandard,
    &ConfigRecord::pictureFormat,
    &ConfigRecord::light,
    &ConfigRecord::contrast,
    &ConfigRecord::saturation,
    &ConfigRecord::networkId,
    &ConfigRecord::defaultCountry,
    &ConfigRecord::lcnMode,
    &ConfigRecord::opaqueHeaderByte,
};
const std::vector<std::u16string ConfigRecord::*> k78Texts = {
    &ConfigRecord::reference, &ConfigRecord::serviceName, &ConfigRecord::networkName};

ConfigRecord Only78(const ConfigRecord& from, ConfigRecord into) {
    for (const auto m : k78Ints) {
        into.*m = from.*m;
    }
    for (const auto m : k78Texts) {
        into.*m = from.*m;
    }
    return into;
}

std::string Diff(const ConfigRecord& a, const ConfigRecord& b) {
    std::string names;
    for (const auto& f : kIntFields) {
        if (a.*f.member != b.*f.member) {
            names += std::string(f.name) + "=" + std::to_string(a.*f.member) + " ";
        }
    }
    for (const auto& f : kTextFields) {
        if (a.*f.member != b.*f.member) {
            names += std::string(f.name) + " ";
        }
    }
    return names;
}

void ExpectRecord(const ConfigRecord& actual, const ConfigRecord& expected) {
    EXPECT_EQ(Diff(actual, expected), "");
    EXPECT_TRUE(actual == expected) << "a field missing from the field lists differs";
}

// What decoding must not touch: differs from the filled record in every field.
ConfigRecord Stale() {
    ConfigRecord r;
    for (const auto& f : kIntFields) {
        r.*f.member = 7777;
    }
    for (const auto& f : kTextFields) {
        r.*f.member = u"stale";
    }
    return r;
}

// A block's content: the record it stands for, and the bytes that a layout does
// not hold as the record does.
struct Raw {
    ConfigRecord rec;
    int32_t attenuation = 0;  // model 0x82
    int32_t versionByte = 0;  // model 0x78 from here on
    int32_t megahertz = 0;
    int32_t amplitude = 0;
    int32_t pictureByte = 0;
    int32_t units125 = 0;
    std::string magic = "PFZJ";
    int tailFields = 4;
    std::optional<int32_t> length;  // default: the block's own length
};

// Every field distinct from its neighbours, so a field at the wrong place shows.
Raw FilledRaw() {
    Raw w;
    ConfigRecord& r = w.rec;
    r.reference = u"REF-01";
    r.videoStandard = 0x24;
    r.pictureFormat = 1;
    r.light = 0x81;
    r.contrast = 0x82;
    r.saturation = 0x83;
    r.videoCodec = 0x25;
    r.videoBitrate = 0x2A31;
    r.audioCodec = 0x26;
    r.audioBitrate = 0x27;
    r.frequencyKHz = 474250;
    r.bandwidth = 0x11;
    r.transmissionMode = 0x12;
    r.constellation = 0x13;
    r.codeRate = 0x14;
    r.guardInterval = 0x15;
    r.levelAtt = 20;
    r.tsId = 0x1234;
    r.version = 0x1A;
    r.networkId = 0x2345;
    r.originalNetworkId = 0x3456;
    r.networkName = u"Net \u00e9";
    r.serviceId = 0x4567;
    r.serviceName = u"Service 1";
    r.lcn = 0x5678;
    r.lcnMode = 0x21;
    r.pmtPid = 0x0123;
    r.videoPid = 0x0234;
    r.audioPid = 0x0345;
    r.defaultCountry = 0x22;
    r.country = 0x23;
    r.eitName = u"Event";
    r.eitText = u"Event text";
    r.logoName = u"logo.dg1";
    r.opaqueByte0 = 0x90;
    r.opaqueHeaderByte = 0xA5;
    int32_t b = 0xB1;
    for (auto m :
         {&ConfigRecord::opaqueByte1,  &ConfigRecord::opaqueByte2,  &ConfigRecord::opaqueByte3,
          &ConfigRecord::opaqueByte4,  &ConfigRecord::opaqueByte5,  &ConfigRecord::opaqueByte6,
          &ConfigRecord::opaqueByte7,  &ConfigRecord::opaqueByte8,  &ConfigRecord::opaqueByte9,
          &ConfigRecord::opaqueByte10, &ConfigRecord::opaqueByte11, &ConfigRecord::opaqueByte12,
          &ConfigRecord::opaqueByte13, &ConfigRecord::opaqueByte14, &ConfigRecord::opaqueByte15,
          &ConfigRecord::opaqueByte16, &ConfigRecord::opaqueByte17, &ConfigRecord::opaqueByte18,
          &ConfigRecord::opaqueByte19, &ConfigRecord::opaqueByte20, &ConfigRecord::opaqueByte21,
          &ConfigRecord::opaqueByte22, &ConfigRecord::opaqueByte23}) {
        r.*m = b++;
    }
    r.opaqueWord1 = 0xD1D2;
    r.opaqueWord2 = 0xD3D4;
    r.opaqueWord3 = 0xD5D6;
    r.opaqueText1 = u"op1";
    r.opaqueText2 = u"op2";
    r.opaqueText3 = u"op3";
    r.opaqueText4 = u"op4";

    w.attenuation = 9;
    w.versionByte = 0x1A;
    w.megahertz = 474;
    w.amplitude = 90;
    w.pictureByte = 2;
    w.units125 = 3794;
    return w;
}

ConfigRecord Filled() {
    return FilledRaw().rec;
}

// An empty record after the encoder's corrections.
Raw EmptyRaw() {
    Raw w;
    w.rec.frequencyKHz = 474000;
    w.rec.pmtPid = 32;
    w.rec.videoPid = 48;
    w.rec.audioPid = 49;
    w.rec.videoBitrate = 6000;
    w.attenuation = 29;
    w.megahertz = 474;
    w.amplitude = 9;
    w.pictureByte = 1;
    w.units125 = 3792;
    return w;
}

class Builder {
  public:
    Builder& U8(int32_t v) {
        bytes.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    Builder& U16(int32_t v) { return U8(v).U8(v >> 8); }
    Builder& U32(int32_t v) { return U16(v).U16(v >> 16); }
    Builder& Text(const std::u16string& t) {  // low 8 bits, unmapped
        for (const char16_t c : t) {
            U8(c);
        }
        return U8(0);
    }
    Bytes bytes;
};

Bytes Build(const Raw& w, uint8_t model) {
    const ConfigRecord& r = w.rec;
    Builder b;
    if (model == k82) {
        b.Text(r.reference).U8(r.defaultCountry).U8(r.country).U8(r.opaqueByte1);
        b.U32(r.frequencyKHz).U8(r.bandwidth).U8(r.transmissionMode).U8(r.constellation);
        b.U8(r.codeRate).U8(r.guardInterval).U8(w.attenuation).U8(r.opaqueByte2);
        b.U16(r.opaqueWord1).U8(r.version).U16(r.networkId).U16(r.originalNetworkId);
        b.Text(r.networkName);
        b.U16(r.tsId).U8(r.opaqueByte0).U16(r.serviceId).U8(r.lcnMode).U16(r.lcn);
        b.U16(r.opaqueWord2).Text(r.serviceName);
        b.U16(r.pmtPid).U16(r.videoPid).U16(r.audioPid).U16(r.videoBitrate);
        b.U8(r.audioBitrate).U8(r.opaqueByte3).U8(r.opaqueByte4).U8(r.videoStandard);
        b.U8(r.opaqueByte5).U8(r.opaqueByte6).U8(r.opaqueByte7).U8(r.opaqueByte8);
        b.Text(r.opaqueText1);
        b.U16(r.opaqueWord3).U8(r.opaqueByte9).U8(r.opaqueByte10).U8(r.opaqueByte11);
        b.Text(r.logoName);
        b.U8(r.opaqueByte12).U8(r.opaqueByte13).U8(r.opaqueByte14).U8(r.opaqueByte15);
        b.U8(r.opaqueByte16).U8(r.opaqueByte17).U8(r.opaqueByte18);
        b.Text(r.opaqueText2).Text(r.opaqueText3).Text(r.opaqueText4);
        b.U8(r.opaqueByte19).U8(r.opaqueByte20).U8(r.opaqueByte21);
        b.Text(r.eitName).Text(r.eitText);
        b.U8(r.audioCodec).U8(r.videoCodec).U8(r.opaqueByte22).U8(r.opaqueByte23);
        b.U8(r.pictureFormat).U8(r.light).U8(r.contrast).U8(r.saturation);
        return b.bytes;
    }
    for (const char c : w.magic) {
        b.U8(c);
    }
    b.U8(r.opaqueHeaderByte).U16(0);
    b.Text(r.reference).U16(r.tsId).U16(r.serviceId).U8(w.versionByte).U8(r.opaqueByte0);
    b.U8(r.country).U16(w.megahertz).U8(r.bandwidth).U8(r.transmissionMode);
    b.U8(r.constellation).U8(r.codeRate).U8(r.guardInterval).U8(w.amplitude);
    b.U16(r.pmtPid).U16(r.videoPid).U16(r.audioPid).U16(r.videoBitrate).U8(r.audioBitrate);
    b.U16(r.lcn).U16(r.originalNetworkId).Text(r.serviceName).Text(r.networkName);
    b.U8(r.videoStandard).U8(w.pictureByte).U8(r.light).U8(r.contrast).U8(r.saturation);
    const int32_t tail[][2] = {
        {r.networkId, 2}, {w.units125, 2}, {r.defaultCountry, 1}, {r.lcnMode, 1}};
    for (int i = 0; i < w.tailFields; ++i) {
        if (tail[i][1] == 2) {
            b.U16(tail[i][0]);
        } else {
            b.U8(tail[i][0]);
        }
    }
    const int32_t length = w.length.value_or(static_cast<int32_t>(b.bytes.size()));
    b.bytes[5] = static_cast<uint8_t>(length);
    b.bytes[6] = static_cast<uint8_t>(length >> 8);
    return b.bytes;
}

int32_t FilledLength78() {
    return static_cast<int32_t>(Build(FilledRaw(), k78).size());
}

Bytes Encode(ConfigRecord& rec, uint8_t model) {
    Bytes block(kConfigBlockSize);
    const std::optional<uint16_t> length = EncodeConfigBlock(rec, model, block);
    block.resize(length.value_or(0));
    return block;
}

struct BlockCase {
    const char* name;
    std::vector<uint8_t> models;
    // When set, Filled() edited so is encoded and must give the block, and the
    // corrected record must equal Raw::rec.
    void (*record)(ConfigRecord&) = nullptr;
    void (*block)(Raw&) = nullptr;             // edits FilledRaw()
    void (*decoded)(ConfigRecord&) = nullptr;  // where decoding differs from Raw::rec
    bool unrecognised = false;
};

void PrintTo(const BlockCase& c, std::ostream* os) { *os << c.name; }

void Keep(ConfigRecord&) {}

void SetPids(ConfigRecord& r, int32_t pmt, int32_t video, int32_t audio) {
    r.pmtPid = pmt;
    r.videoPid = video;
    r.audioPid = audio;
}
void ResetPids(Raw& w) {
    SetPids(w.rec, 32, 48, 49);
}

void SetFrequency(Raw& w, int32_t kHz, int32_t megahertz, int32_t units125) {
    w.rec.frequencyKHz = kHz;
    w.megahertz = megahertz;
    w.units125 = units125;
}
void Frequency474000(Raw& w) {
    SetFrequency(w, 474000, 474, 3792);
}

void SetLevel(Raw& w, int32_t levelAtt, int32_t attenuation, int32_t amplitude) {
    w.rec.levelAtt = levelAtt;
    w.attenuation = attenuation;
    w.amplitude = amplitude;
}

// The tail as decoded: network id, frequency, default country, LCN mode.
void SetTail(ConfigRecord& r, int32_t networkId, int32_t kHz, int32_t country, int32_t mode) {
    r.networkId = networkId;
    r.frequencyKHz = kHz;
    r.defaultCountry = country;
    r.lcnMode = mode;
}

const BlockCase kBlockCases[] = {
    {.name = "filled record", .models = {k82, k78, kOtherModel}, .record = Keep},
    {.name = "empty record takes valid defaults",
     .models = {k82, k78},
     .record = [](ConfigRecord& r) { r = {}; },
     .block = [](Raw& w) { w = EmptyRaw(); }},

    {.name = "frequency 0 replaced",
     .models = {k82, k78},
     .record = [](ConfigRecord& r) { r.frequencyKHz = 0; },
     .block = Frequency474000},
    {.name = "frequency 46999 replaced",
     .models = {k82, k78},
     .record = [](ConfigRecord& r) { r.frequencyKHz = 46999; },
     .block = Frequency474000},
    {.name = "frequency 862001 replaced",
     .models = {k82, k78},
     .record = [](ConfigRecord& r) { r.frequencyKHz = 862001; },
     .block = Frequency474000},
    {.name = "frequency 47000 kept",
     .models = {k82, k78},
     .record = [](ConfigRecord& r) { r.frequencyKHz = 47000; },
     .block = [](Raw& w) { SetFrequency(w, 47000, 47, 376); }},
    {.name = "frequency 862000 kept",
     .models = {k82, k78},
     .record = [](ConfigRecord& r) { r.frequencyKHz = 862000; },
     .block = [](Raw& w) { SetFrequency(w, 862000, 862, 6896); }},
    {.name = "frequency rounded down to MHz and to 125 kHz",
     .models = {k78},
     .record = [](ConfigRecord& r) { r.frequencyKHz = 474990; },
     .block = [](Raw& w) { SetFrequency(w, 474990, 474, 3799); },
     .decoded = [](ConfigRecord& r) { r.frequencyKHz = 474875; }},

    {.name = "PMT and video PIDs equal",
     .models = {k82, k78},
     .record = [](ConfigRecord& r) { SetPids(r, 100, 100, 200); },
     .block = ResetPids},
    {.name = "PMT and audio PIDs equal",
     .models = {k82, k78},
     .record = [](ConfigRecord& r) { SetPids(r, 100, 200, 100); },
     .block = ResetPids},
    {.name = "video and audio PIDs equal",
     .models = {k82, k78},
     .record = [](ConfigRecord& r) { SetPids(r, 300, 200, 200); },
     .block = ResetPids},
    {.name = "PID below 32",
     .models = {k82, k78},
     .record = [](ConfigRecord& r) { SetPids(r, 31, 300, 400); },
     .block = ResetPids},
    {.name = "PID above 8190",
     .models = {k82, k78},
     .record = [](ConfigRecord& r) { SetPids(r, 300, 400, 8191); },
     .block = ResetPids},
    {.name = "PIDs at the limits kept",
     .models = {k82, k78},
     .record = [](ConfigRecord& r) { SetPids(r, 8190, 32, 33); },
     .block = [](Raw& w) { SetPids(w.rec, 8190, 32, 33); }},

    {.name = "video bitrate 4999 replaced",
     .models = {k82, k78},
     .record = [](ConfigRecord& r) { r.videoBitrate = 4999; },
     .block = [](Raw& w) { w.rec.videoBitrate = 6000; }},
    {.name = "video bitrate 12001 replaced",
     .models = {k82, k78},
     .record = [](ConfigRecord& r) { r.videoBitrate = 12001; },
     .block = [](Raw& w) { w.rec.videoBitrate = 6000; }},
    {.name = "video bitrate 5000 kept",
     .models = {k82, k78},
     .record = [](ConfigRecord& r) { r.videoBitrate = 5000; },
     .block = [](Raw& w) { w.rec.videoBitrate = 5000; }},
    {.name = "video bitrate 12000 kept",
     .models = {k82, k78},
     .record = [](ConfigRecord& r) { r.videoBitrate = 12000; },
     .block = [](Raw& w) { w.rec.videoBitrate = 12000; }},

    {.name = "level 0 is attenuation 29 and amplitude 9",
     .models = {k82, k78},
     .record = [](ConfigRecord& r) { r.levelAtt = 0; },
     .block = [](Raw& w) { SetLevel(w, 0, 29, 9); }},
    {.name = "level 29 is attenuation 0 and amplitude 255",
     .models = {k82, k78},
     .record = [](ConfigRecord& r) { r.levelAtt = 29; },
     .block = [](Raw& w) { SetLevel(w, 29, 0, 255); }},
    {.name = "level above 29 gives the strongest amplitude",
     .models = {k78},
     .record = [](ConfigRecord& r) { r.levelAtt = 40; },
     .block = [](Raw& w) { SetLevel(w, 40, 0, 255); },
     .decoded = [](ConfigRecord& r) { r.levelAtt = 29; }},
    {.name = "level below 0 gives the weakest amplitude",
     .models = {k78},
     .record = [](ConfigRecord& r) { r.levelAtt = -5; },
     .block = [](Raw& w) { SetLevel(w, -5, 0, 9); },
     .decoded = [](ConfigRecord& r) { r.levelAtt = 0; }},
    {.name = "amplitude 5 is level 0",
     .models = {k78},
     .block = [](Raw& w) { SetLevel(w, 0, 0, 5); }},
    {.name = "amplitude 10 is level 1",
     .models = {k78},
     .block = [](Raw& w) { SetLevel(w, 1, 0, 10); }},
    {.name = "amplitude 100 is level 20",
     .models = {k78},
     .block = [](Raw& w) { SetLevel(w, 20, 0, 100); }},
    {.name = "amplitude 254 is level 28",
     .models = {k78},
     .block = [](Raw& w) { SetLevel(w, 28, 0, 254); }},
    {.name = "amplitude 255 is level 29",
     .models = {k78},
     .block = [](Raw& w) { SetLevel(w, 29, 0, 255); }},

    {.name = "version keeps 8 bits for 0x82",
     .models = {k82},
     .record = [](ConfigRecord& r) { r.version = 0xF1; },
     .block = [](Raw& w) { w.rec.version = 0xF1; }},
    {.name = "version keeps 5 bits for 0x78",
     .models = {k78},
     .record = [](ConfigRecord& r) { r.version = 0xF1; },
     .block =
         [](Raw& w) {
             w.rec.version = 0xF1;
             w.versionByte = 0x11;
         },
     .decoded = [](ConfigRecord& r) { r.version = 0x11; }},
    {.name = "version upper bits ignored when read",
     .models = {k78},
     .block = [](Raw& w) { w.versionByte = 0xE0 | 0x1A; }},
    {.name = "picture format 0 written as 1",
     .models = {k78},
     .record = [](ConfigRecord& r) { r.pictureFormat = 0; },
     .block =
         [](Raw& w) {
             w.rec.pictureFormat = 0;
             w.pictureByte = 1;
         }},
    {.name = "picture format byte 0 read as 0",
     .models = {k78},
     .block =
         [](Raw& w) {
             w.rec.pictureFormat = 0;
             w.pictureByte = 0;
         }},
    {.name = "byte 0x22 read as apostrophe",
     .models = {k82, k78},
     .block = [](Raw& w) { w.rec.networkName = u"a\"b"; },
     .decoded = [](ConfigRecord& r) { r.networkName = u"a'b"; }},

    {.name = "tail ends after saturation",
     .models = {k78},
     .block = [](Raw& w) { w.tailFields = 0; },
     .decoded = [](ConfigRecord& r) { SetTail(r, 0x3456, 474000, 0, 0); }},
    {.name = "tail ends after network id",
     .models = {k78},
     .block = [](Raw& w) { w.tailFields = 1; },
     .decoded = [](ConfigRecord& r) { SetTail(r, 0x2345, 474000, 0, 0); }},
    {.name = "tail ends after 125 kHz field",
     .models = {k78},
     .block = [](Raw& w) { w.tailFields = 2; },
     .decoded = [](ConfigRecord& r) { SetTail(r, 0x2345, 474250, 0, 0); }},
    {.name = "length inside network id still takes it",
     .models = {k78},
     .block = [](Raw& w) { w.length = FilledLength78() - 5; },
     .decoded = [](ConfigRecord& r) { SetTail(r, 0x2345, 474000, 0, 0); }},
    {.name = "length beyond the data leaves the tail",
     .models = {k78},
     .block =
         [](Raw& w) {
             w.tailFields = 0;
             w.length = FilledLength78();
         },
     .decoded = [](ConfigRecord& r) { SetTail(r, 7777, 474000, 7777, 7777); }},
    {.name = "no magic is unrecognised",
     .models = {k78, kOtherModel},
     .block = [](Raw& w) { w.magic = "PFZK"; },
     .unrecognised = true},
    {.name = "model 0x82 ignores a magic",
     .models = {k82},
     .record = [](ConfigRecord& r) { r.reference = u"PFZJ"; },
     .block = [](Raw& w) { w.rec.reference = u"PFZJ"; }},
};

class BlockTest : public ::testing::TestWithParam<BlockCase> {};

TEST_P(BlockTest, EncodesAndDecodes) {
    const BlockCase& c = GetParam();
    for (const uint8_t model : c.models) {
        SCOPED_TRACE(::testing::Message() << "model 0x" << std::hex << int{model});
        Raw raw = FilledRaw();
        if (c.block) {
            c.block(raw);
        }
        const Bytes bytes = Build(raw, model);
        if (c.record) {
            ConfigRecord rec = Filled();
            c.record(rec);
            EXPECT_EQ(Encode(rec, model), bytes);
            ExpectRecord(rec, raw.rec);
        }

        ConfigRecord decoded = Stale();
        const DecodeOutcome outcome = DecodeConfigBlock(bytes, model, decoded);
        ConfigRecord expected = raw.rec;
        if (c.unrecognised) {
            expected = Stale();
        } else if (model == k82) {
            expected.opaqueHeaderByte = Stale().opaqueHeaderByte;
        } else {
            expected = Only78(raw.rec, Stale());
        }
        if (c.decoded) {
            c.decoded(expected);
        }
        EXPECT_EQ(outcome, c.unrecognised ? DecodeOutcome::Unrecognised
                           : model == k82 ? DecodeOutcome::Model82
                                          : DecodeOutcome::Model78);
        ExpectRecord(decoded, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Blocks, BlockTest, ::testing::ValuesIn(kBlockCases), [](const auto& p) {
    std::string name = p.param.name;
    for (char& ch : name) {
        ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    }
    return name;
});

TEST(Codec, EmptyRecordIs80BytesForModel82) {
    ConfigRecord rec;
    EXPECT_EQ(Encode(rec, k82).size(), 80U);
}

// Every level survives both layouts, and only the documented fields change.
TEST(Codec, RoundTripChangesOnlyTheDocumentedFields) {
    for (const uint8_t model : {k82, k78}) {
        for (int32_t level = 0; level <= 29; ++level) {
            SCOPED_TRACE(::testing::Message() << "model " << int{model} << " level " << level);
            ConfigRecord rec = Filled();
            rec.levelAtt = level;
            rec.frequencyKHz = 474990;
            rec.version = 0xF1;
            rec.pictureFormat = 0;
            rec.reference = u"say \"hi\" \u20ac";
            ConfigRecord expected = rec;
            expected.reference = u"say .hi. .";

            ConfigRecord decoded = Stale();
            ASSERT_NE(DecodeConfigBlock(Encode(rec, model), model, decoded),
                      DecodeOutcome::Unrecognised);
            if (model == k82) {
                expected.opaqueHeaderByte = Stale().opaqueHeaderByte;
            } else {
                expected.frequencyKHz = 474875;
                expected.version = 0x11;
                expected = Only78(expected, Stale());
            }
            ExpectRecord(decoded, expected);
        }
    }
}

// Each prefix sits in a buffer of its own size, so the sanitizer build catches
// any read past it.
TEST(Codec, EveryPrefixDecodesWithinItsBytes) {
    for (const uint8_t model : {k82, k78}) {
        SCOPED_TRACE(int{model});
        const Bytes full = Build(FilledRaw(), model);
        for (std::size_t n = 0; n <= full.size(); ++n) {
            SCOPED_TRACE(n);
            const Bytes prefix(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
            ConfigRecord rec = Stale();
            const DecodeOutcome outcome = DecodeConfigBlock(prefix, model, rec);
            if (model == k82) {
                EXPECT_EQ(outcome, DecodeOutcome::Model82);
                EXPECT_EQ(rec.saturation, n == full.size() ? Filled().saturation : 7777);
            } else {
                EXPECT_EQ(outcome, n < 4 ? DecodeOutcome::Unrecognised : DecodeOutcome::Model78);
                EXPECT_EQ(rec.lcnMode, n == full.size() ? Filled().lcnMode : 7777);
            }
        }
    }
}

// A length field of 0 declares no tail: the tail takes its absent values once the
// body is complete, but not while the body itself is cut.
TEST(Codec, TailDefaultsOnlyAfterACompleteBody) {
    Raw raw = FilledRaw();
    raw.length = 0;
    const Bytes full = Build(raw, k78);
    const std::size_t bodyEnd = full.size() - 6;
    for (std::size_t n = 7; n <= full.size(); ++n) {
        SCOPED_TRACE(n);
        const Bytes prefix(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        ConfigRecord rec = Stale();
        DecodeConfigBlock(prefix, k78, rec);
        EXPECT_EQ(rec.lcnMode, n >= bodyEnd ? 0 : 7777);
    }
}

TEST(Codec, CutTextEndsWithTheDataAndTheRestKeepsItsValues) {
    const Bytes full = Build(FilledRaw(), k82);
    const Bytes cut(full.begin(), full.begin() + 4);
    ConfigRecord rec = Stale();
    DecodeConfigBlock(cut, k82, rec);
    ConfigRecord expected = Stale();
    expected.reference = u"REF-";
    ExpectRecord(rec, expected);
}

TEST(Codec, TooSmallBlockWritesNothingPastIt) {
    for (const uint8_t model : {k82, k78}) {
        ConfigRecord filled = Filled();
        const std::size_t length = Encode(filled, model).size();
        for (std::size_t n = 0; n < length; ++n) {
            SCOPED_TRACE(::testing::Message() << "model " << int{model} << " size " << n);
            Bytes buffer(length, 0xEE);
            ConfigRecord rec = Filled();
            EXPECT_EQ(EncodeConfigBlock(rec, model, std::span(buffer).first(n)), std::nullopt);
            EXPECT_EQ(Bytes(buffer.begin() + static_cast<std::ptrdiff_t>(n), buffer.end()),
                      Bytes(length - n, 0xEE));
        }
    }
}

struct MapCase {
    uint8_t byte;
    char16_t shown;
};
const MapCase kMapCases[] = {
    {0x01, u'.'}, {0x1F, u'.'},      {0x20, u' '},      {0x22, u'\''},     {0x27, u'\''},
    {0x7E, u'~'}, {0x7F, u'.'},      {0xA0, u'.'},      {0xA1, u'\u00a1'}, {0xAC, u'\u00ac'},
    {0xAD, u'-'}, {0xAE, u'\u00ae'}, {0xFF, u'\u00ff'},
};

TEST(CharacterMap, ShowsEachByteAsItsCharacter) {
    for (const MapCase& c : kMapCases) {
        const Bytes text = {c.byte, 0};
        uint16_t pos = 0;
        EXPECT_EQ(ReadRecordText(text, pos), std::u16string(1, c.shown)) << int{c.byte};
    }
}

struct WriteCase {
    char16_t c;
    uint8_t byte;
};
const WriteCase kWriteCases[] = {
    {u'A', 0x41},      {u'\'', 0x27},     {u'-', 0x2D},      {u'.', 0x2E},      {u'\u00e9', 0xE9},
    {u'"', 0x2E},      {u'\0', 0x2E},     {u'\u0001', 0x2E}, {u'\u007f', 0x2E}, {u'\u00a0', 0x2E},
    {u'\u00ad', 0x2E}, {u'\u0100', 0x2E}, {u'\u0141', 0x2E}, {u'\u20ac', 0x2E},
};

TEST(CharacterMap, WritesWhatABlockCanCarryAndFullStopsForTheRest) {
    for (const WriteCase& c : kWriteCases) {
        Bytes block(3, 0xEE);
        uint16_t pos = 0;
        ASSERT_TRUE(WriteRecordText(std::u16string(1, c.c), block, pos));
        EXPECT_EQ(block, (Bytes{c.byte, 0, 0xEE})) << int{c.c};
        EXPECT_EQ(pos, 2);
    }
}

TEST(CharacterMap, AttenuationTableFollowsTheAmplitudeLaw) {
    for (std::size_t k = 0; k < AttenuationTable.size(); ++k) {
        const double amplitude = 255.0 * std::pow(10.0, -static_cast<double>(k) / 20.0);
        EXPECT_EQ(AttenuationTable[k], static_cast<int>(std::floor(amplitude))) << k;
    }
}

struct ReadTextCase {
    Bytes block;
    uint16_t start;
    std::u16string text;
    uint16_t end;
};
const ReadTextCase kReadTextCases[] = {
    {{'A', 'B', 0, 'C'}, 0, u"AB", 3},
    {{'A', 'B', 0, 'C'}, 3, u"C", 4},  // no 0: ends with the data
    {{'A', 'B'}, 2, u"", 2},           // nothing left
    {{'A', 'B'}, 5, u"", 5},
    {{0}, 0, u"", 1},
};

TEST(RecordText, ReadsUpToTheZeroOrTheEnd) {
    for (const ReadTextCase& c : kReadTextCases) {
        uint16_t pos = c.start;
        EXPECT_EQ(ReadRecordText(c.block, pos), c.text) << c.start;
        EXPECT_EQ(pos, c.end) << c.start;
    }
}

TEST(RecordText, WriteThatDoesNotFitLeavesBlockAndPosition) {
    Bytes block(4, 0xEE);
    uint16_t pos = 1;
    EXPECT_FALSE(WriteRecordText(u"abc", block, pos));
    EXPECT_EQ(pos, 1);
    EXPECT_EQ(block, Bytes(4, 0xEE));
    EXPECT_TRUE(WriteRecordText(u"ab", block, pos));
    EXPECT_EQ(pos, 4);
    EXPECT_EQ(block, (Bytes{0xEE, 'a', 'b', 0}));
}

TEST(ReadLe32, ReadsLowByteFirstAndRefusesShortData) {
    const Bytes block = {'P', 'F', 'Z', 'J', 0x44};
    uint16_t pos = 0;
    EXPECT_EQ(ReadLe32(block, pos), kPfzjMagic);
    EXPECT_EQ(pos, 4);
    pos = 1;
    EXPECT_EQ(ReadLe32(block, pos), 0x444A5A46U);
    EXPECT_EQ(pos, 5);
    pos = 2;
    EXPECT_EQ(ReadLe32(block, pos), std::nullopt);
    EXPECT_EQ(pos, 2);
}

}  // namespace
}  // namespace kq
