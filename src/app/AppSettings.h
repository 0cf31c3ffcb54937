#pragma once
// What start-up fixes for the whole run: the folders every path is built from,
// manufacturer mode and the language.

#include <filesystem>
#include <string_view>

namespace kq {

struct AppSettings {
    std::filesystem::path AppFolder;       // the working directory at start
    std::filesystem::path FirmwareFolder;  // AppFolder/firmware
    int ManufacturerMode = 0;              // 1 when FirmwareFolder/manufacturer.txt exists
    int LanguageIndex = 0;                 // 0 EN, 1 FR, 2 IT, 3 DE, 4 PO, 5 ES
};

// Reads the marker and the language choice under appFolder. Missing files are normal.
AppSettings LoadAppSettings(const std::filesystem::path& appFolder);

// The language a first line of pref.txt selects: its first two characters, case-sensitive.
int LanguageFromPrefLine(std::string_view firstLine);

}  // namespace kq
