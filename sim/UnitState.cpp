#include "UnitState.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

#include "config/ConfigCodec.h"

namespace kq::sim {
namespace {

namespace fs = std::filesystem;

fs::path ConfigFile(const fs::path& folder) {
    return folder / "configuration-0x82.bin";
}
fs::path BlockFile(const fs::path& folder, uint16_t number) {
    return folder / ("block-" + std::to_string(number) + ".bin");
}

bool ReadFile(const fs::path& file, std::vector<uint8_t>& bytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    return !in.bad();
}

bool WriteFile(const fs::path& file, const std::vector<uint8_t>& bytes, std::string& error) {
    const fs::path temp = file.string() + ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            error = "cannot write " + temp.string();
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temp, file, ec);
    if (ec) {
        error = "cannot replace " + file.string() + ": " + ec.message();
        return false;
    }
    return true;
}

}  // namespace

bool LoadUnitState(const fs::path& folder, SimUnit& unit, std::string& error) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        error = "cannot create " + folder.string() + ": " + ec.message();
        return false;
    }
    if (unit.identity.model == 0x82) {
        if (fs::exists(ConfigFile(folder))) {
            std::vector<uint8_t> block;
            if (!ReadFile(ConfigFile(folder), block)) {
                error = "cannot read " + ConfigFile(folder).string();
                return false;
            }
            unit.configBlock = std::move(block);
        }
        return true;
    }
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        unsigned number = 0;
        if (std::sscanf(name.c_str(), "block-%u.bin", &number) != 1 || number > 0xFFFF ||
            name != "block-" + std::to_string(number) + ".bin") {
            continue;
        }
        std::vector<uint8_t> block;
        if (!ReadFile(entry.path(), block)) {
            error = "cannot read " + entry.path().string();
            return false;
        }
        unit.blocks[static_cast<uint16_t>(number)] = std::move(block);
    }
    return true;
}

bool SaveUnitState(const fs::path& folder, const SimUnit& unit, std::string& error) {
    if (unit.identity.model == 0x82) {
        return WriteFile(ConfigFile(folder), unit.configBlock, error);
    }
    for (const auto& [number, block] : unit.blocks) {
        if (!WriteFile(BlockFile(folder, number), block, error)) {
            return false;
        }
    }
    return true;
}

namespace {

std::string Latin1ToUtf8(const std::u16string& text) {
    std::string out;
    for (const char16_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

template <size_t N>
const char* Pick(const std::array<const char*, N>& names, int32_t index) {
    return index >= 0 && static_cast<size_t>(index) < N ? names[static_cast<size_t>(index)] : "?";
}

}  // namespace

std::string DescribeConfiguration(const SimUnit& unit) {
    static constexpr std::array<const char*, 3> kBandwidth = {"6 MHz", "7 MHz", "8 MHz"};
    static constexpr std::array<const char*, 2> kMode = {"2K", "8K"};
    static constexpr std::array<const char*, 3> kConstellation = {"QPSK", "16-QAM", "64-QAM"};
    static constexpr std::array<const char*, 5> kRate = {"1/2", "2/3", "3/4", "5/6", "7/8"};
    static constexpr std::array<const char*, 4> kGuard = {"1/32", "1/16", "1/8", "1/4"};
    ConfigRecord r;
    if (DecodeConfigBlock(unit.Configuration(), unit.identity.model, r) ==
        DecodeOutcome::Unrecognised) {
        return "not recognised";
    }
    char line[512];
    std::snprintf(line, sizeof line,
                  "%d kHz %s %s %s %s %s, attenuation %d dB, service %d \"%s\" on network \"%s\"",
                  r.frequencyKHz, Pick(kBandwidth, r.bandwidth), Pick(kMode, r.transmissionMode),
                  Pick(kConstellation, r.constellation), Pick(kRate, r.codeRate),
                  Pick(kGuard, r.guardInterval), 29 - r.levelAtt, r.serviceId,
                  Latin1ToUtf8(r.serviceName).c_str(), Latin1ToUtf8(r.networkName).c_str());
    return line;
}

void FrontPanelNextChannel(SimUnit& unit) {
    const uint8_t model = unit.identity.model;
    const std::vector<uint8_t> current = unit.Configuration();
    ConfigRecord record;
    if (DecodeConfigBlock(current, model, record) == DecodeOutcome::Unrecognised) {
        record = {};
    }
    record.frequencyKHz = record.frequencyKHz + 8000 > 858000 ? 474000 : record.frequencyKHz + 8000;
    std::array<uint8_t, kConfigBlockSize> block{};
    const uint16_t length = EncodeConfigBlock(record, model, block).value_or(0);
    unit.FrontPanelChange({block.begin(), block.begin() + length});
}

}  // namespace kq::sim
