#include "gui/functions/embedded_message_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>

#include "gui/settings/small_window_app.h"
#include "gui/widgets/guarded_line_edit.h"

namespace zt::gui {
namespace {

using testing::SmallWindowApp;

std::string stored(const SmallWindowApp& t, int line)
{
    return t.app.documents.working().Data.Messages[static_cast<std::size_t>(line)].raw();
}

TEST(EmbeddedMessageOpening, ShowsCutLinesAndStoresTheirStoredForm)
{
    SmallWindowApp t;
    auto& lines = t.app.documents.working().Data.Messages;
    lines[0] = "HELLO";  // padded with spaces, no NUL
    lines[1] = FixedText<16>(std::string("AB\0CD", 5));
    lines[2] = "0123456789ABCDEF";
    EmbeddedMessageWindow w(t.app);
    EXPECT_EQ(w.objectName(), "FrmEmbMsg");
    EXPECT_EQ(w.windowTitle(), "Embedded message");
    EXPECT_EQ(w.findChild<QPushButton*>("CommandClose")->text(), "Close");
    EXPECT_EQ(w.line(0)->text(), "HELLO");
    EXPECT_EQ(w.line(1)->text(), "AB");
    EXPECT_EQ(w.line(2)->text(), "0123456789ABCDEF");
    EXPECT_EQ(stored(t, 0), std::string("HELLO\0          ", 16));
    EXPECT_EQ(stored(t, 1), std::string("AB\0             ", 16));
    EXPECT_EQ(stored(t, 2), "0123456789ABCDEF");
    EXPECT_EQ(stored(t, 3), std::string("\0               ", 16));
}

TEST(EmbeddedMessageTyping, SixteenCharactersThenBackspace)
{
    SmallWindowApp t;
    EmbeddedMessageWindow w(t.app);
    GuardedLineEdit* box = w.line(1);
    QTest::keyClicks(box, "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(stored(t, 1), "ABCDEFGHIJKLMNOP");
    QTest::keyClicks(box, "Q");  // a 17th character does not fit
    EXPECT_EQ(stored(t, 1), "ABCDEFGHIJKLMNOP");
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(stored(t, 1), std::string("ABCDEFGHIJKLMNO\0", 16));
    box->clear();
    QTest::keyClicks(box, "A B ");  // spaces are accepted and kept
    EXPECT_EQ(stored(t, 1), std::string("A B \0           ", 16));
}

TEST(EmbeddedMessageTyping, ClipboardKeysAndCharactersAbove127AreRefused)
{
    SmallWindowApp t;
    EmbeddedMessageWindow w(t.app);
    GuardedLineEdit* box = w.line(0);
    QApplication::clipboard()->setText("PASTED");
    QTest::keyClicks(box, "AB");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(box->text(), "AB");
    box->selectAll();
    QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);  // cut would empty the box
    EXPECT_EQ(box->text(), "AB");
    QTest::keyClick(box, Qt::Key_End);
    for (QString c : {QString::fromUtf8("é"), QString::fromUtf8("€"), QString("~")}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, c);
        QApplication::sendEvent(box, &press);
    }
    EXPECT_EQ(box->text(), "AB~");
    EXPECT_EQ(stored(t, 0), std::string("AB~\0            ", 16));
}

TEST(EmbeddedMessageTyping, EnterMovesToTheNextLine)
{
    SmallWindowApp t;
    EmbeddedMessageWindow w(t.app);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.line(0)->setFocus();
    QTest::keyClick(w.line(0), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), w.line(1));
    QTest::keyClick(w.line(1), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(QApplication::focusWidget(), w.line(2));
}

}  // namespace
}  // namespace zt::gui
