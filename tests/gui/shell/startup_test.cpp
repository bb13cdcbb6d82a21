// Start-up: language from the locale or mysetup.ini, Setting.ini, the first
// document, and the stored language taking effect at the first activation.

#include <QMdiArea>
#include <QMenuBar>
#include <QSettings>

#include "core/files/ini_profile.h"
#include "gui/shell/child_windows.h"
#include "shell_fixture.h"

namespace zt::gui::test {
namespace {

std::string setupValue(const ShellInstall& install, const char* key)
{
    return readProfileString(install.mySetup(), "language", key, "");
}

TEST(Startup, FirstRunTakesTheLocaleAndStoresIt)
{
    ShellInstall install;
    install.writeMySetup("[language]\nIsFirstRun=1\ncomPort=3\nCurrentLanguage=1\n");
    {
        ShellProgram p(install, kLocaleChinesePrc);
        EXPECT_EQ(p.app.currentLanguage, 2);
        EXPECT_EQ(p.app.appliedLanguage, 2);
        EXPECT_EQ(p.app.comPort, 3);
        EXPECT_EQ(p.app.applicationTitle, QString::fromUtf8("ZT-958FM 写频软件"));
    }
    EXPECT_EQ(setupValue(install, "IsFirstRun"), "0");
    EXPECT_EQ(setupValue(install, "CurrentLanguage"), "2");

    // The second start reads the stored language, whatever the locale says.
    install.writeMySetup("[language]\nIsFirstRun=0\ncomPort=3\nCurrentLanguage=2\n");
    ShellProgram again(install, kLocaleEnglishUs);
    EXPECT_EQ(again.app.currentLanguage, 2);
    EXPECT_EQ(again.app.appliedLanguage, 1);  // the locale's, until the first activation
}

TEST(Startup, MissingFilesGiveDefaultsAndNeverStopIt)
{
    ShellInstall install;  // no mysetup.ini, no Setting.ini, no pictures, no Init folder
    ShellProgram p(install);
    EXPECT_EQ(p.app.comPort, 1);
    EXPECT_EQ(p.app.currentLanguage, 1);
    EXPECT_EQ(p.app.state.Settings, SettingRecord{});
    EXPECT_TRUE(p.app.habit.UseOffset);
    EXPECT_TRUE(p.app.documents.isUntitled());
    EXPECT_EQ(p.app.documents.fileName(), fs::path("new.dat"));
    EXPECT_EQ(p.app.state.ModelName, "ZT-958FM");
    EXPECT_EQ(p.app.applicationTitle, QString("ZT-958FM Programming Software"));

    MainWindow& w = p.main(install);
    EXPECT_NE(w.childWindow("frmCommChInfo"), nullptr);
    EXPECT_TRUE(w.windowTitle().contains("[ZT-958FM:25.615 - 30.105 MHz]"));
    EXPECT_TRUE(w.windowTitle().endsWith(":new.dat]"));

    // Setting.ini is written at exit.
    p.app.state.Settings.Bytes = {1, 0, 1, 0};
    EXPECT_TRUE(w.close());
    EXPECT_EQ(loadSettingRecord(install.program() / "Setting.ini").Bytes,
              (std::array<std::uint8_t, 4>{1, 0, 1, 0}));
}

TEST(Startup, StoredLanguageTakesEffectAtTheFirstActivation)
{
    ShellInstall install;
    install.writeMySetup("[language]\nIsFirstRun=0\ncomPort=1\nCurrentLanguage=2\n");
    ShellProgram p(install, kLocaleEnglishUs);
    MainWindow& w = p.main(install);
    // Chinese texts from the start.
    EXPECT_EQ(w.menuBar()->actions().at(0)->text(), QString::fromUtf8("文件(&F)"));
    QWidget* firstGrid = w.childWindow("frmCommChInfo");
    ASSERT_NE(firstGrid, nullptr);
    QPointer<QWidget> guard(firstGrid);

    w.checkLanguageChange();  // what activation does
    EXPECT_EQ(p.app.appliedLanguage, 2);
    EXPECT_TRUE(guard.isNull());                         // the grid was closed ...
    EXPECT_NE(w.childWindow("frmCommChInfo"), nullptr);  // ... and opened again
    EXPECT_EQ(w.childWindowCount(), 1);
    EXPECT_EQ(w.menuBar()->actions().at(0)->text(), QString::fromUtf8("文件(&F)"));

    // Once applied, a further activation changes nothing.
    QPointer<QWidget> grid(w.childWindow("frmCommChInfo"));
    w.checkLanguageChange();
    EXPECT_FALSE(grid.isNull());
}

TEST(Startup, LocaleNamesFromTheEnvironment)
{
    EXPECT_EQ(localeIdOfName("zh_CN.UTF-8"), kLocaleChinesePrc);
    EXPECT_EQ(localeIdOfName("zh_CN"), kLocaleChinesePrc);
    EXPECT_EQ(localeIdOfName("zh_TW.UTF-8"), kLocaleEnglishUs);
    EXPECT_EQ(localeIdOfName("de_DE.UTF-8"), kLocaleEnglishUs);
    EXPECT_EQ(localeIdOfName(""), kLocaleEnglishUs);
}

TEST(Startup, WindowPositionDefaultsStoreAndMinimisedExit)
{
    ShellInstall install;
    {
        ShellProgram p(install);
        MainWindow& w = p.main(install);
        // No stored position: 1000, 1000 and 12500 x 9500 twips.
        EXPECT_EQ(w.pos(), QPoint(67, 67));
        EXPECT_EQ(w.size(), QSize(833, 633));
        w.move(100, 120);
        w.resize(700, 500);
        EXPECT_TRUE(w.close());
    }
    QSettings stored(install.positionStore(), QSettings::IniFormat);
    EXPECT_EQ(stored.value("Settings/MainLeft").toInt(), 1500);
    EXPECT_EQ(stored.value("Settings/MainTop").toInt(), 1800);
    EXPECT_EQ(stored.value("Settings/MainWidth").toInt(), 10500);
    EXPECT_EQ(stored.value("Settings/MainHeight").toInt(), 7500);
    {
        ShellProgram p(install);
        MainWindow& w = p.main(install);
        EXPECT_EQ(w.pos(), QPoint(100, 120));
        EXPECT_EQ(w.size(), QSize(700, 500));
        // A minimised window at exit keeps the previous position.
        w.show();
        w.move(300, 300);
        w.setWindowState(Qt::WindowMinimized);
        EXPECT_TRUE(w.close());
    }
    QSettings after(install.positionStore(), QSettings::IniFormat);
    EXPECT_EQ(after.value("Settings/MainLeft").toInt(), 1500);
}

}  // namespace
}  // namespace zt::gui::test
