#include "gui/functions/radio_info_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/link/info_block.h"
#include "core/radio/initial_values.h"
#include "gui/settings/small_window_app.h"

namespace zt::gui {
namespace {

using testing::SmallWindowApp;

const char* const kBoxes[] = {"TextAreaCode",     "TextManufactureCode", "TextUserCode",
                              "TextSerialNumber", "TextProductionDate",  "TextMaintenanceDate",
                              "TextDealerCode",   "TextStockInDate",     "TextSaleDate",
                              "TextSeller"};

QString box(const RadioInfoWindow& w, const char* name)
{
    auto* b = w.findChild<QLineEdit*>(name);
    return b ? b->text() : QString("<none>");
}

TEST(RadioInfoWindowShows, AllFfBlockShowsEmptyBoxesWithTheProgramsOwnValues)
{
    SmallWindowApp t;
    t.app.state.RadioInfo = newRadioInfoRecord(t.app.state, 0, "2026-12-09", 12);
    RadioInfoBlock block;
    block.bytes.fill(0xFF);
    decodeRadioInfoBlock(block, t.app.state.RadioInfo);
    t.app.state.RadioInfo.ModelText = "SOMETHING ELSE";
    RadioInfoWindow w(t.app);
    EXPECT_EQ(w.objectName(), "FrmRadioInfo");
    EXPECT_EQ(w.windowTitle(), "Radio information");
    for (const char* name : kBoxes) EXPECT_EQ(box(w, name), "") << name;
    EXPECT_EQ(w.findChild<QPlainTextEdit*>("TextMaintenanceDescription")->toPlainText(), "");
    EXPECT_EQ(box(w, "TextVersion"), "V3.00");
    EXPECT_EQ(w.findChild<QComboBox*>("ComboModel")->currentText(), "ZT-958");
    EXPECT_EQ(w.findChild<QComboBox*>("ComboBand")->currentText(), "25.615 - 30.105 MHz");
}

TEST(RadioInfoWindowShows, DisplayFormsOfTheFields)
{
    SmallWindowApp t;
    RadioInfoRecord& r = t.app.state.RadioInfo;
    r.SerialNumber = std::string("12345\0", 6);  // NUL then spaces
    r.ProductionDate = "2026-01-02";
    r.MaintenanceDescription = "Replaced the antenna";
    r.AreaCode = " 0595 ";  // shown unchanged
    r.UserCode = "001A";
    r.Seller = std::string("Jo\xE9", 3);  // a byte above 127 survives
    r.VersionText = "V3.00";
    r.ModelText = "ZT-958";
    RadioInfoWindow w(t.app);
    EXPECT_EQ(box(w, "TextSerialNumber"), "12345");
    EXPECT_EQ(box(w, "TextProductionDate"), "2026-01-02");
    EXPECT_EQ(box(w, "TextAreaCode"), " 0595 ");
    EXPECT_EQ(box(w, "TextUserCode"), "001A");
    EXPECT_EQ(box(w, "TextSeller"), QString::fromLatin1("Jo\xE9"));
    EXPECT_EQ(w.findChild<QPlainTextEdit*>("TextMaintenanceDescription")->toPlainText(),
              "Replaced the antenna");
    // Nothing can be edited.
    for (const char* name : kBoxes) EXPECT_FALSE(w.findChild<QWidget*>(name)->isEnabled()) << name;
    EXPECT_FALSE(w.findChild<QComboBox*>("ComboBand")->isEnabled());
    // The dealer boxes sit in their frame; the long label has two lines.
    auto* frame = w.findChild<QGroupBox*>("Frame1");
    EXPECT_EQ(frame->title(), "Dealer information");
    EXPECT_EQ(w.findChild<QLineEdit*>("TextSeller")->parentWidget(), frame);
    EXPECT_EQ(w.findChild<QLabel*>("Label21011")->text(), "Maintenance\ndescription");
    EXPECT_EQ(w.findChild<QPushButton*>("CommandClose")->text(), "Close");
}

TEST(RadioInfoWindowShows, BandCodeWithoutTextShowsNoEntry)
{
    SmallWindowApp t;
    t.app.state.RadioInfo.BandCode = 8;
    RadioInfoWindow w(t.app);
    auto* band = w.findChild<QComboBox*>("ComboBand");
    EXPECT_EQ(band->count(), 1);
    EXPECT_EQ(band->currentIndex(), -1);
    EXPECT_EQ(band->currentText(), "");
}

}  // namespace
}  // namespace zt::gui
