// What the program says when its serial port cannot be opened: message 9003
// with the explanation of the port, on a line of its own.

#include <QApplication>
#include <QTest>
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

TEST(PortMessageBox, EnterPressesTheSafeAnswerAQuestionNames)
{
    // A question whose first button destroys data names the safe one; Enter presses it.
    QtPromptService prompt([] { return QString("ZTP958FM"); }, [](int) { return std::string(); });
    const auto enterAnswers = [&](std::optional<Answer> safe) {
        Message m;
        m.text = "Clear the sale date the radio holds?";
        m.buttons = Buttons::YesNoCancel;
        m.defaultAnswer = safe;
        std::optional<Answer> answer;
        prompt.ask(m, [&](Answer a) { answer = a; });
        QWidget* box = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "MessageBox" && w->isVisible()) box = w;
        EXPECT_NE(box, nullptr);
        if (box == nullptr) return answer;
        QTest::keyClick(box, Qt::Key_Return);
        QTest::qWait(10);
        return answer;
    };
    EXPECT_EQ(enterAnswers(Answer::No), Answer::No);
    EXPECT_EQ(enterAnswers(std::nullopt), Answer::Yes);  // the toolkit's own choice
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
