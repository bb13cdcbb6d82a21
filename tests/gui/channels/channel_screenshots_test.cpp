#include <gtest/gtest.h>

#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <cstdlib>

#include "channel_rig.h"
#include "core/files/version_manager.h"

namespace zt::gui::testing {
namespace {

// Pictures of the channel windows on the initial-data document, for looking at them. Runs only
// when ZT_SHOT_DIR names a folder (use a real display, e.g. under xvfb-run).
TEST(ChannelScreenshots, GridGroupsAndEditor)
{
    const char* dirEnv = std::getenv("ZT_SHOT_DIR");
    if (!dirEnv) GTEST_SKIP() << "ZT_SHOT_DIR not set";
    const QString dir = QString::fromLocal8Bit(dirEnv);
    QDir().mkpath(dir);
    ChannelRig rig;
    rig.app.versions =
        loadVersionTable(std::filesystem::path(ZT_SOURCE_DIR) / "data" / "Version.ini");
    DocumentContext ctx = rig.app.documentContext();
    const std::filesystem::path file =
        std::filesystem::path(ZT_STAGE_DIR) / "Init" / "ZT-958FM_0_NEW.dat";
    ASSERT_EQ(rig.app.documents.Open(file, ctx), OpenResult::Opened) << file;
    rig.doc().Data.Options.FrequencyChangeable = 1;

    ChannelGridWindow& grid = rig.openGrid(1);
    auto shoot = [&](QWidget* w, const QString& name) {
        QApplication::processEvents();
        ASSERT_TRUE(w->grab().save(dir + "/" + name));
    };
    rig.clickCell(2, 4);
    shoot(&grid, "grid_group1.png");
    rig.list("Combo7")->setCurrentIndex(6);
    rig.clickCell(3, 1);
    shoot(&grid, "grid_group6.png");
    rig.list("Combo7")->setCurrentIndex(12);
    shoot(&grid, "grid_group12.png");
    rig.list("Combo7")->setCurrentIndex(1);
    rig.clickCell(2, 4);
    grid.findChild<QPushButton*>("CommandCHInfoEdit")->click();
    ASSERT_NE(rig.editor(), nullptr);
    shoot(rig.editor(), "editor.png");
}

}  // namespace
}  // namespace zt::gui::testing
