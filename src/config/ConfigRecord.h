#pragma once
// The unit's configuration as the settings page holds it. Integer fields are wider
// than their block fields; encoding keeps the low bits of each.

#include <cstdint>
#include <string>

namespace kq {

struct ConfigRecord {
    std::u16string reference;
    int32_t videoStandard = 0;  // 0 PAL, 1 NTSC
    int32_t pictureFormat = 0;  // list index; the lists differ between the models
    int32_t light = 0;
    int32_t contrast = 0;
    int32_t saturation = 0;
    int32_t videoCodec = 0;    // model 0x82 only
    int32_t videoBitrate = 0;  // kb/s
    int32_t audioCodec = 0;    // model 0x82 only
    int32_t audioBitrate = 0;  // list index
    int32_t frequencyKHz = 0;
    int32_t bandwidth = 0;
    int32_t transmissionMode = 0;
    int32_t constellation = 0;
    int32_t codeRate = 0;
    int32_t guardInterval = 0;
    int32_t levelAtt = 0;  // 29 - attenuation in dB
    int32_t tsId = 0;
    int32_t version = 0;
    int32_t networkId = 0;
    int32_t originalNetworkId = 0;
    std::u16string networkName;
    int32_t serviceId = 0;
    std::u16string serviceName;
    int32_t lcn = 0;
    int32_t lcnMode = 0;
    int32_t pmtPid = 0;
    int32_t videoPid = 0;
    int32_t audioPid = 0;
    int32_t defaultCountry = 0;
    int32_t country = 0;
    std::u16string eitName;   // model 0x82 only
    std::u16string eitText;   // model 0x82 only
    std::u16string logoName;  // model 0x82 only

    // Carried unchanged between the unit's blocks; never shown.
    int32_t opaqueByte0 = 0;
    int32_t opaqueHeaderByte = 0;  // model 0x78 header
    // Model 0x82 only.
    int32_t opaqueByte1 = 0;
    int32_t opaqueByte2 = 0;
    int32_t opaqueByte3 = 0;
    int32_t opaqueByte4 = 0;
    int32_t opaqueByte5 = 0;
    int32_t opaqueByte6 = 0;
    int32_t opaqueByte7 = 0;
    int32_t opaqueByte8 = 0;
    int32_t opaqueByte9 = 0;
    int32_t opaqueByte10 = 0;
    int32_t opaqueByte11 = 0;
    int32_t opaqueByte12 = 0;
    int32_t opaqueByte13 = 0;
    int32_t opaqueByte14 = 0;
    int32_t opaqueByte15 = 0;
    int32_t opaqueByte16 = 0;
    int32_t opaqueByte17 = 0;
    int32_t opaqueByte18 = 0;
    int32_t opaqueByte19 = 0;
    int32_t opaqueByte20 = 0;
    int32_t opaqueByte21 = 0;
    int32_t opaqueByte22 = 0;
    int32_t opaqueByte23 = 0;
    int32_t opaqueWord1 = 0;
    int32_t opaqueWord2 = 0;
    int32_t opaqueWord3 = 0;
    std::u16string opaqueText1;
    std::u16string opaqueText2;
    std::u16string opaqueText3;
    std::u16string opaqueText4;

    bool operator==(const ConfigRecord&) const = default;
};

}  // namespace kq
