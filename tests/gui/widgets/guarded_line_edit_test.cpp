// The guarded text box: what may be typed, pasted or dropped into it.

#include "gui/widgets/guarded_line_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <memory>

namespace zt::gui {
namespace {

TEST(OneByteTextBox, TakesLatinOneTextWholeAndRefusesWiderCharacters)
{
    std::unique_ptr<GuardedLineEdit> box(newOneByteTextBox(nullptr));
    box->insert(QStringLiteral("Caf\u00e9 \u00ff"));  // as a paste arrives
    EXPECT_EQ(box->text(), QStringLiteral("Caf\u00e9 \u00ff"));
    box->insert(QStringLiteral("x\u4e2d"));  // one character beyond a byte: nothing taken
    EXPECT_EQ(box->text(), QStringLiteral("Caf\u00e9 \u00ff"));
    QKeyEvent euro(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\u20ac"));
    QApplication::sendEvent(box.get(), &euro);
    QTest::keyClicks(box.get(), "1");
    EXPECT_EQ(box->text(), QStringLiteral("Caf\u00e9 \u00ff1"));

    // Text set by the program is shown as it is.
    box->setText(QStringLiteral("\u4e2d"));
    EXPECT_EQ(box->text(), QStringLiteral("\u4e2d"));
}

TEST(OneByteTextBox, EnterIsLeftToTheWindowAndTheClipboardIsTaken)
{
    std::unique_ptr<GuardedLineEdit> box(newOneByteTextBox(nullptr));
    int returns = 0;
    QObject::connect(box.get(), &QLineEdit::returnPressed, [&] { ++returns; });
    QTest::keyClick(box.get(), Qt::Key_Return);
    EXPECT_EQ(returns, 1);
    EXPECT_TRUE(box->acceptDrops());
}

TEST(GuardedLineEdit, ARangeFollowsTheLimitAndEndsWithTheClipboardRefused)
{
    GuardedLineEdit box;
    box.setRefuseClipboard(false);
    box.setMaxCharCode(127);
    box.insert(QStringLiteral("caf\u00e9"));
    EXPECT_EQ(box.text(), QString());
    box.insert(QStringLiteral("cafe"));
    EXPECT_EQ(box.text(), QStringLiteral("cafe"));

    // Refusing the clipboard again leaves whole text to the program (no range validator).
    box.setRefuseClipboard(true);
    EXPECT_EQ(box.validator(), nullptr);
    box.insert(QStringLiteral("\u00e9"));
    EXPECT_EQ(box.text(), QStringLiteral("cafe\u00e9"));
}

}  // namespace
}  // namespace zt::gui
