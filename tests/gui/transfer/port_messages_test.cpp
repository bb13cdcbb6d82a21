// What the program says when its serial port cannot be opened: message 9003
// with the explanation of the port, on a line of its own.

#include <QTimer>
#include <fstream>

#include "gui/prompt/qt_prompt_service.h"
#include "gui/transfer/transfer_rig.h"
#include "platform/port_table.h"

namespace zt::gui::test {
namespace {

TEST(PortMessageBox, AReasonGoesOnItsOwnLineAndAListKeepsItsBreak)
{
    QtPromptService prompt([] { return QString("ZTP958FM"); },
                           [](int id) { return id == 9003 ? std::string("Not opened.") : ""; });
    Message m;
    m.textId = 9003;
    m.text = "The serial device /dev/ttyUSB0 does not exist.";
    EXPECT_EQ(prompt.composeText(m), "Not opened.\nThe serial device /dev/ttyUSB0 does not exist.");
    m.text = "\r\nRxFre of channel 3";
    EXPECT_EQ(prompt.composeText(m), "Not opened.\r\nRxFre of channel 3");
    m.textId = 0;
    m.text = "PassWord Failure!";
    EXPECT_EQ(prompt.composeText(m), "PassWord Failure!");
}

TEST_F(ProgramTransfer, AMissingDeviceIsNamedUnderMessage9003)
{
    // The program's own serial port, not the virtual line of the rig.
    MainWindow program(app);
    program.formLoad();
    ASSERT_TRUE(registerComDevice(app.paths.mySetupIni(), 3, "/dev/zt-no-such-adapter"));
    // A port that exists is listed by its number and device.
    const fs::path present = fs::path(tmp.path().toStdString()) / "ttyFAKE0";
    std::ofstream(present.string()) << "";
    ASSERT_TRUE(registerComDevice(app.paths.mySetupIni(), 9, present));
    app.comPort = 3;
    prompt.asked.clear();
    program.findChild<QAction*>("mnuReadFromRadio")->trigger();
    runUntil([&] { return !prompt.asked.empty(); });

    ASSERT_EQ(prompt.askedIds(), std::vector<int>{9003});
    const std::string& detail = prompt.asked[0].message.text;
    EXPECT_NE(detail.find("The serial device /dev/zt-no-such-adapter does not exist."),
              std::string::npos)
        << detail;
    EXPECT_NE(detail.find("COM9 (" + present.string() + ")"), std::string::npos) << detail;
    EXPECT_EQ(prompt.asked[0].message.icon, Icon::Error);
    EXPECT_FALSE(program.transfers().busy());
}

}  // namespace
}  // namespace zt::gui::test
