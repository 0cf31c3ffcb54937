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
