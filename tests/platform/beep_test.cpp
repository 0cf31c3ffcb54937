// The beep as sound: pitch and length measured from the samples written to an ALSA
// file device, and silence where no sound device exists.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/Beep.h"

namespace kq::test {
namespace {

namespace fs = std::filesystem;

std::vector<int16_t> Samples(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    std::vector<int16_t> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<int16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                          static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
    }
    return samples;
}

TEST(Beep, PlaysTheRequestedPitchForTheRequestedTime) {
    constexpr double kRate = 22050;
    for (const auto& [hz, ms] : {std::pair{880, 200}, std::pair{440, 250}, std::pair{880, 1000}}) {
        const fs::path file = fs::temp_directory_path() / ("kqbeep-" + std::to_string(getpid()));
        fs::remove(file);
        setenv("KQIFACE_BEEP_DEVICE", ("file:FILE=" + file.string() + ",FORMAT=raw").c_str(), 1);
        SystemBeeper().Beep(hz, ms);
        const auto samples = Samples(file);
        fs::remove(file);
        ASSERT_FALSE(samples.empty()) << hz;
        const double seconds = static_cast<double>(samples.size()) / kRate;
        EXPECT_NEAR(seconds * 1000, ms, 5) << hz;
        int rising = 0;
        for (size_t i = 1; i < samples.size(); ++i) {
            rising += samples[i - 1] < 0 && samples[i] >= 0;
        }
        EXPECT_NEAR(rising / seconds, hz, hz * 0.02) << hz;
    }
    unsetenv("KQIFACE_BEEP_DEVICE");
}

TEST(Beep, MissingSoundDeviceMeansSilence) {
    setenv("KQIFACE_BEEP_DEVICE", "hw:99", 1);
    const auto start = std::chrono::steady_clock::now();
    SystemBeeper().Beep(880, 1000);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    unsetenv("KQIFACE_BEEP_DEVICE");
}

}  // namespace
}  // namespace kq::test
