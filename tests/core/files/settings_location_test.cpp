#include "core/files/settings_location.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/files/settings.h"
#include "support/temp_dir.h"

namespace zt {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

EnvironmentLookup environmentOf(std::map<std::string, std::string> values)
{
    return [values = std::move(values)](const char* name) -> const char* {
        const auto it = values.find(name);
        return it == values.end() ? nullptr : it->second.c_str();
    };
}

TEST(UserConfigFolder, XdgConfigHomeThenHomeDotConfig)
{
    EXPECT_EQ(userConfigFolder(environmentOf({{"XDG_CONFIG_HOME", "/x/cfg"}, {"HOME", "/h/u"}})),
              fs::path("/x/cfg/ztp958fm"));
    // A relative or empty XDG_CONFIG_HOME does not count.
    EXPECT_EQ(userConfigFolder(environmentOf({{"XDG_CONFIG_HOME", "cfg"}, {"HOME", "/h/u"}})),
              fs::path("/h/u/.config/ztp958fm"));
    EXPECT_EQ(userConfigFolder(environmentOf({{"XDG_CONFIG_HOME", ""}, {"HOME", "/h/u"}})),
              fs::path("/h/u/.config/ztp958fm"));
    EXPECT_TRUE(userConfigFolder(environmentOf({})).empty());
    EXPECT_TRUE(userConfigFolder(nullptr).empty());
}

TEST(CanWriteInPlace, ExistingFilesAndFolders)
{
    TempDir dir;
    writeBytes(dir / "a.ini", "[language]\ncomPort=2\n");
    EXPECT_TRUE(canWriteInPlace(dir / "a.ini"));
    EXPECT_EQ(readBytes(dir / "a.ini"), "[language]\ncomPort=2\n");  // left as it was
    EXPECT_TRUE(canWriteInPlace(dir / "new.ini"));
    // The probe leaves nothing behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    EXPECT_FALSE(canWriteInPlace(dir / "missing-folder" / "x.ini"));
    EXPECT_FALSE(canWriteInPlace(dir.path()));  // a folder is no settings file
}

// An installation root with the programming program's and the information
// tool's settings, and a user folder beside it. `readOnly` plays the part of
// an installation the user cannot write to (the tests may run as root, who
// can write anywhere).
class SettingsLocationTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        writeBytes(root / "language" / "mysetup.ini", kInstalled);
        writeBytes(root / "SetO" / "mysetup.ini", "[language]\ncomPort=1\n");
        fs::create_directories(root / "V300");
    }

    SettingsLocation location(bool readOnly) const
    {
        SettingsLocation l{root, user};
        if (readOnly) l.writable = [](const fs::path&) { return false; };
        return l;
    }

    static constexpr const char* kInstalled = "[language]\nIsFirstRun=1\ncomPort=1\n";
    TempDir dir;
    fs::path root = dir / "opt";
    fs::path user = dir / "home" / ".config" / "ztp958fm";
};

TEST_F(SettingsLocationTest, WritableInstallationKeepsEveryFileInPlace)
{
    const InstallPaths paths =
        withWritableSettings(InstallPaths{root / "V300"}, location(/*readOnly=*/false));
    EXPECT_EQ(paths.mySetupIni(), root / "language" / "mysetup.ini");
    EXPECT_EQ(paths.settingIni(), root / "V300" / "Setting.ini");
    EXPECT_EQ(location(false).place(root / "SetO" / "mysetup.ini"), root / "SetO" / "mysetup.ini");
    EXPECT_FALSE(fs::exists(user));

    // No user folder known: in place even when read-only.
    SettingsLocation nowhere{root, {}};
    nowhere.writable = [](const fs::path&) { return false; };
    EXPECT_EQ(nowhere.place(root / "language" / "mysetup.ini"), root / "language" / "mysetup.ini");
}

TEST_F(SettingsLocationTest, ReadOnlyInstallationSeedsTheUserCopyOnce)
{
    const InstallPaths paths =
        withWritableSettings(InstallPaths{root / "V300"}, location(/*readOnly=*/true));
    ASSERT_EQ(paths.mySetupIni(), user / "language" / "mysetup.ini");
    EXPECT_EQ(readBytes(paths.mySetupIni()), kInstalled);
    // No installed Setting.ini: its folder is ready, the file comes at exit.
    EXPECT_EQ(paths.settingIni(), user / "V300" / "Setting.ini");
    EXPECT_FALSE(fs::exists(paths.settingIni()));
    EXPECT_TRUE(fs::is_directory(user / "V300"));

    // Start-up writes go to the user's copy; the installed file stays as shipped.
    const StartupSettings s = loadStartupSettings(paths.mySetupIni(), 0x0804);
    EXPECT_TRUE(s.firstRun);
    EXPECT_TRUE(saveComPort(paths, 5));
    EXPECT_EQ(readSetupValue(paths.mySetupIni(), kKeyComPort), "5");
    EXPECT_EQ(readSetupValue(paths.mySetupIni(), kKeyIsFirstRun), "0");
    EXPECT_EQ(readBytes(root / "language" / "mysetup.ini"), kInstalled);
    SettingRecord record{};
    record.Bytes[3] = 1;
    EXPECT_TRUE(saveSettingRecord(paths.settingIni(), record));
    EXPECT_FALSE(fs::exists(root / "V300" / "Setting.ini"));

    // The next start (even after a package upgrade changed the installed
    // file) keeps the user's copy and does not seed it again.
    writeBytes(root / "language" / "mysetup.ini", "[language]\nIsFirstRun=1\ncomPort=9\n");
    const InstallPaths again =
        withWritableSettings(InstallPaths{root / "V300"}, location(/*readOnly=*/true));
    EXPECT_EQ(readSetupValue(again.mySetupIni(), kKeyComPort), "5");
    EXPECT_EQ(loadSettingRecord(again.settingIni()).Bytes[3], 1);
}

TEST_F(SettingsLocationTest, InformationToolKeepsItsOwnCopyApart)
{
    const fs::path tool = location(/*readOnly=*/true).place(root / "SetO" / "mysetup.ini");
    EXPECT_EQ(tool, user / "SetO" / "mysetup.ini");
    EXPECT_EQ(readBytes(tool), "[language]\ncomPort=1\n");
    // A file outside the installation root keeps just its name.
    EXPECT_EQ(location(true).place(dir / "elsewhere" / "x.ini"), user / "x.ini");
}

}  // namespace
}  // namespace zt
