// Start-up settings from the working folder, and the message table.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "app/AppSettings.h"
#include "app/MessageTable.h"

namespace kq::test {
namespace {

namespace fs = std::filesystem;

class TempFolder {
  public:
    TempFolder() {
        static int counter = 0;
        path_ = fs::temp_directory_path() /
                ("kqsettings-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
        fs::create_directories(path_);
    }
    ~TempFolder() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

TEST(AppSettings, LanguageFromTheFirstLineOfPref) {
    const struct {
        std::optional<std::string> pref;  // nullopt: no pref.txt
        int language;
    } cases[] = {
        {"FRANCAIS\n", 1}, {"fr\n", 0},   {"PO", 4}, {"", 0},  {std::nullopt, 0},
        {"IT\nFR\n", 2},   {"DE\r\n", 3}, {"ES", 5}, {"E", 0}, {" FR", 0},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        if (c.pref) {
            std::ofstream(folder.path() / "pref.txt") << *c.pref;
        }
        EXPECT_EQ(LoadAppSettings(folder.path()).LanguageIndex, c.language)
            << (c.pref ? *c.pref : "(missing)");
    }
}

TEST(AppSettings, ManufacturerModeFollowsTheMarkerFile) {
    TempFolder folder;
    const AppSettings plain = LoadAppSettings(folder.path());
    EXPECT_EQ(plain.ManufacturerMode, 0);
    EXPECT_EQ(plain.FirmwareFolder, folder.path() / "firmware");

    fs::create_directories(folder.path() / "firmware");
    std::ofstream(folder.path() / "firmware" / "manufacturer.txt");  // empty is enough
    EXPECT_EQ(LoadAppSettings(folder.path()).ManufacturerMode, 1);
}

TEST(AppSettings, LongWorkingFoldersWork) {
    TempFolder folder;
    fs::path deep = folder.path();
    for (int i = 0; i < 30; ++i) deep /= "a-rather-long-folder-name";
    fs::create_directories(deep);
    std::ofstream(deep / "pref.txt") << "DE";
    EXPECT_GT(deep.string().size(), 256u);
    EXPECT_EQ(LoadAppSettings(deep).LanguageIndex, 3);
}

TEST(MessageTable, TextsAsStored) {
    const struct {
        int row, language;
        const char* text;
    } cases[] = {
        {0, 0, "Waiting connection..."}, {1, 1, "Matériel connecté"},
        {3, 0, "upgrade to release "},   {3, 4, "Dostępna wersja oprog. "},
        {13, 4, "Czest. (khz):"},        {20, 4, "TLum. :"},
        {28, 0, "Video PID:"},           {29, 5, "Audio PID :"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetMessageText(c.row, c.language), c.text) << c.row << "/" << c.language;
    }
    for (int row = 0; row < kMessageRows; ++row) {
        for (int language = 0; language < kLanguages; ++language) {
            EXPECT_FALSE(GetMessageText(row, language).empty()) << row << "/" << language;
        }
    }
    EXPECT_EQ(GetMessageText(30, 0), "");
    EXPECT_EQ(GetMessageText(-1, 0), "");
    EXPECT_EQ(GetMessageText(0, 6), "");
}

}  // namespace
}  // namespace kq::test
