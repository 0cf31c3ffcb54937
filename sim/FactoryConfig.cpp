#include "FactoryConfig.h"

#include <array>

#include "config/ConfigCodec.h"

namespace kq::sim {

ConfigRecord FactoryRecord(uint8_t model) {
    ConfigRecord r;
    r.reference = model == 0x82 ? u"KQ350SD-0001" : u"KQ300-0001";
    r.frequencyKHz = 474000;  // UHF channel 21
    r.bandwidth = 2;          // 8 MHz
    r.transmissionMode = 1;   // 8K
    r.constellation = 2;      // 64-QAM
    r.codeRate = 1;           // 2/3
    r.guardInterval = 3;      // 1/4
    r.levelAtt = 29;          // no attenuation
    r.tsId = 1;
    r.version = 1;
    r.networkId = 12289;
    r.originalNetworkId = 8442;
    r.networkName = u"KQ Network";
    r.serviceId = 1;
    r.serviceName = u"KQ Live";
    r.lcn = 1;
    r.pmtPid = 256;
    r.videoPid = 257;
    r.audioPid = 258;
    r.videoBitrate = 8000;
    r.audioBitrate = 1;  // 192 kb/s
    r.light = 128;
    r.contrast = 128;
    r.saturation = 128;
    r.defaultCountry = 1;  // ENGLISH
    r.country = 1;
    if (model == 0x82) {
        r.videoCodec = 0;  // H264
        r.audioCodec = 0;  // AAC-LC
        r.eitName = u"Live";
        r.eitText = u"Live pictures from the encoder";
        r.logoName = u"kq.dg1";
    }
    return r;
}

std::vector<uint8_t> FactoryBlock(uint8_t model) {
    ConfigRecord record = FactoryRecord(model);
    std::array<uint8_t, kConfigBlockSize> block{};
    const uint16_t length = EncodeConfigBlock(record, model, block).value_or(0);
    return {block.begin(), block.begin() + length};
}

}  // namespace kq::sim
