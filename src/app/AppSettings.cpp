#include "app/AppSettings.h"

#include <array>
#include <fstream>
#include <string>

namespace kq {

int LanguageFromPrefLine(std::string_view firstLine) {
    static constexpr std::array<std::string_view, 6> kCodes = {"EN", "FR", "IT", "DE", "PO", "ES"};
    const std::string_view code = firstLine.substr(0, 2);
    for (size_t i = 0; i < kCodes.size(); ++i) {
        if (code == kCodes[i]) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

AppSettings LoadAppSettings(const std::filesystem::path& appFolder) {
    AppSettings s;
    s.AppFolder = appFolder;
    s.FirmwareFolder = appFolder / "firmware";
    // Only the marker's existence counts; an empty file switches the mode on too.
    s.ManufacturerMode = std::ifstream(s.FirmwareFolder / "manufacturer.txt").is_open() ? 1 : 0;
    std::ifstream pref(appFolder / "pref.txt");
    std::string line;
    if (pref && std::getline(pref, line)) {
        s.LanguageIndex = LanguageFromPrefLine(line);
    }
    return s;
}

}  // namespace kq
