#include "core/files/settings.h"

#include <gtest/gtest.h>

#include "core/files/ini_profile.h"
#include "core/files/language.h"
#include "core/text_ids.h"
#include "support/temp_dir.h"

namespace zt {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

TEST(SettingValues, NumbersAndFlagsFromText)
{
    EXPECT_EQ(parseSettingNumber("3"), 3);
    EXPECT_EQ(parseSettingNumber(" 12 "), 12);
    EXPECT_EQ(parseSettingNumber("2.5"), 2);  // half to even
    EXPECT_EQ(parseSettingNumber("-1"), -1);
    EXPECT_EQ(parseSettingNumber(""), std::nullopt);
    EXPECT_EQ(parseSettingNumber("COM3"), std::nullopt);
    EXPECT_EQ(parseSettingNumber("99999"), std::nullopt);
    EXPECT_EQ(parseSettingFlag("0"), false);
    EXPECT_EQ(parseSettingFlag("-1"), true);
    EXPECT_EQ(parseSettingFlag("TRUE"), true);
    EXPECT_EQ(parseSettingFlag("yes"), std::nullopt);
}

class StartupSettingsTest : public ::testing::Test {
  protected:
    TempDir dir;
    InstallPaths paths{dir / "V300"};
    std::filesystem::path ini = paths.mySetupIni();

    std::string stored(std::string_view key) { return readSetupValue(ini, key); }
};

TEST_F(StartupSettingsTest, FirstRunTakesTheLocaleLanguageAndStoresIt)
{
    writeBytes(ini, "[language]\r\nIsFirstRun=1\r\ncomPort=1\r\n");
    const auto s = loadStartupSettings(ini, 0x0804);
    EXPECT_TRUE(s.firstRun);
    EXPECT_EQ(s.language, kLanguageChinese);
    EXPECT_EQ(s.languageFileName, "chinese.ini");
    EXPECT_EQ(readBytes(ini), "[language]\r\nIsFirstRun=0\r\ncomPort=1\r\nCurrentLanguage=2\r\n");

    // The second start reads the stored language, whatever the locale says.
    const auto again = loadStartupSettings(ini, 0x0409);
    EXPECT_FALSE(again.firstRun);
    EXPECT_EQ(again.language, kLanguageChinese);
}

TEST_F(StartupSettingsTest, StoredLanguageAndPortAreUsedAndWrittenBack)
{
    writeBytes(ini, "[LANGUAGE]\nisfirstrun = 0\ncomport = 7 \ncurrentlanguage=2\n");
    const auto s = loadStartupSettings(ini, 0x0409);
    EXPECT_EQ(s.comPort, 7);
    EXPECT_EQ(s.language, kLanguageChinese);
    EXPECT_EQ(readBytes(ini), "[LANGUAGE]\nisfirstrun = 0\ncomport=7\ncurrentlanguage=2\n");
}

TEST_F(StartupSettingsTest, MissingOrUnusableValuesTakeTheirDefaults)
{
    // No file at all: no first run, port 1, language of the locale; the
    // values in force are stored.
    auto s = loadStartupSettings(ini, 0x0409);
    EXPECT_FALSE(s.firstRun);
    EXPECT_EQ(s.comPort, 1);
    EXPECT_EQ(s.language, kLanguageEnglish);
    EXPECT_EQ(stored("comPort"), "1");
    EXPECT_EQ(stored("CurrentLanguage"), "1");
    EXPECT_EQ(stored("IsFirstRun"), "");

    writeBytes(ini, "[language]\nIsFirstRun=maybe\ncomPort=COM4\nCurrentLanguage=3\n");
    s = loadStartupSettings(ini, 0x0804);
    EXPECT_FALSE(s.firstRun);
    EXPECT_EQ(s.comPort, 1);
    EXPECT_EQ(s.language, kLanguageChinese);  // 3 names no language: the locale's stays
    EXPECT_EQ(stored("CurrentLanguage"), "2");
    EXPECT_EQ(stored("comPort"), "1");
    EXPECT_EQ(stored("IsFirstRun"), "maybe");  // only a first run rewrites it
}

TEST_F(StartupSettingsTest, AWriteBackThatFailsIsToldAndTheValuesStillHold)
{
    EXPECT_TRUE(loadStartupSettings(ini, 0x0409).written);
    // A folder where mysetup.ini should be: nothing can be written.
    std::filesystem::remove(ini);
    std::filesystem::create_directories(ini);
    const auto s = loadStartupSettings(ini, 0x0804);
    EXPECT_FALSE(s.written);
    EXPECT_EQ(s.comPort, 1);
    EXPECT_EQ(s.language, kLanguageChinese);

    const Message m = settingsNotSaved(ini.string());
    EXPECT_EQ(m.textId, text::msg::SettingsNotSaved);
    EXPECT_EQ(m.text, "\n" + ini.string());
    EXPECT_EQ(m.icon, Icon::Warning);
    EXPECT_EQ(m.buttons, Buttons::Ok);
}

TEST_F(StartupSettingsTest, WindowsSavePortAndLanguage)
{
    ASSERT_TRUE(saveComPort(paths, 12));
    ASSERT_TRUE(saveCurrentLanguage(paths, 2));
    ASSERT_TRUE(saveCurrentLanguage(paths, 2));
    EXPECT_EQ(readBytes(ini), "[language]\ncomPort=12\nCurrentLanguage=2\n");
}

TEST(SettingRecordFile, MissingOrShortFileGivesZeros)
{
    TempDir dir;
    const auto file = dir / "Setting.ini";
    EXPECT_EQ(loadSettingRecord(file), SettingRecord{});
    writeBytes(file, std::string("\x01\x01\x01", 3));
    EXPECT_EQ(loadSettingRecord(file), SettingRecord{});
    EXPECT_EQ(loadSettingRecord(dir.path()), SettingRecord{});
}

TEST(SettingRecordFile, SavedRecordComesBackAndLaterBytesStay)
{
    TempDir dir;
    const auto file = dir / "Setting.ini";
    SettingRecord record;
    record.Bytes = {0, 1, 0, 1};
    ASSERT_TRUE(saveSettingRecord(file, record));
    EXPECT_EQ(readBytes(file), std::string("\x00\x01\x00\x01", 4));
    EXPECT_EQ(loadSettingRecord(file), record);

    writeBytes(file, std::string("\x00\x00\x00\x00tail", 8));
    record.Bytes = {1, 1, 1, 1};
    ASSERT_TRUE(saveSettingRecord(file, record));
    EXPECT_EQ(readBytes(file), std::string("\x01\x01\x01\x01tail", 8));

    // Errors are reported through the result only.
    EXPECT_FALSE(saveSettingRecord(dir / "no" / "such" / "Setting.ini", record));
}

TEST(InstallPathsLayout, RootIsTheParentOfTheProgramFolder)
{
    const auto paths = InstallPaths::fromExecutable("/opt/zt/V300/ZTP958FM");
    EXPECT_EQ(paths.mySetupIni(), std::filesystem::path("/opt/zt/language/mysetup.ini"));
    EXPECT_EQ(paths.settingIni(), std::filesystem::path("/opt/zt/V300/Setting.ini"));
    EXPECT_EQ(paths.programOfVersion("V301", "ZTP958FM"),
              std::filesystem::path("/opt/zt/V301/ZTP958FM"));
    // A trailing separator does not make the program folder its own root.
    EXPECT_EQ(InstallPaths{"/opt/zt/V300/"}.versionIni(),
              std::filesystem::path("/opt/zt/Version.ini"));
    EXPECT_EQ(InstallPaths{"/opt/zt/V300/"}.languageDir(),
              std::filesystem::path("/opt/zt/V300/language"));
}

}  // namespace
}  // namespace zt
