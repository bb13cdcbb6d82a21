// What the recorder counts as one user action, on plain widgets over a
// document: typing runs and a question in the middle of an action.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include "core/files/document_store.h"
#include "gui/undo/undo_recorder.h"

namespace zt::gui {
namespace {

class UndoRecorderTest : public ::testing::Test {
  protected:
    UndoRecorderTest()
    {
        auto* layout = new QVBoxLayout(&window);
        for (int i = 0; i < 2; ++i) {
            boxes[i] = new QLineEdit(&window);
            layout->addWidget(boxes[i]);
            // Each keystroke goes straight into the document, as the
            // message window does.
            QObject::connect(boxes[i], &QLineEdit::textChanged, [this, i](const QString& t) {
                documents.working().Data.Messages[static_cast<std::size_t>(i)] = t.toStdString();
            });
        }
        window.show();
    }
    static void settle()
    {
        QApplication::processEvents();
        QApplication::processEvents();
    }
    std::string message(int i) { return documents.working().Data.Messages[i].cut(); }

    DocumentStore documents;
    QWidget window;
    QLineEdit* boxes[2] = {};
    UndoRecorder recorder{documents};
};

TEST_F(UndoRecorderTest, TypingIntoOneBoxIsOneStepAndEachKeyIsSeen)
{
    QTest::keyClicks(boxes[0], "AB");
    settle();
    // Key events of the same kind follow each other at one address; each is
    // still an action of its own.
    QTest::keyClicks(boxes[0], "C");
    settle();
    QTest::keyClicks(boxes[1], "X");
    settle();
    EXPECT_EQ(recorder.history().undoCount(), 2u);
    EXPECT_EQ(recorder.history().undo()->Data.Messages[0].cut(), "ABC");

    // Another key in between (the cursor moved) ends the run.
    recorder.forgetSteps();
    QTest::keyClicks(boxes[1], "Y");
    settle();
    QTest::keyClick(boxes[1], Qt::Key_Home);
    settle();
    QTest::keyClicks(boxes[1], "Z");
    settle();
    EXPECT_EQ(message(1), "ZXY");
    EXPECT_EQ(recorder.history().undoCount(), 2u);
}

TEST_F(UndoRecorderTest, AQuestionInTheMiddleOfAnActionKeepsItOneStep)
{
    QDialog question(&window);
    question.setModal(true);
    QObject::connect(boxes[0], &QLineEdit::returnPressed, [&] {
        documents.working().Data.Messages[2] = std::string("BEFORE");
        question.open();  // the answer comes later; the action is not over
    });
    boxes[0]->setFocus();
    QTest::keyClick(boxes[0], Qt::Key_Return);
    settle();
    EXPECT_EQ(recorder.history().undoCount(), 0u);

    documents.working().Data.Messages[3] = std::string("AFTER");
    question.accept();
    settle();
    ASSERT_EQ(recorder.history().undoCount(), 1u);
    const RadioDocument before = *recorder.history().undo();
    EXPECT_EQ(before.Data.Messages[2].cut(), "");
    EXPECT_EQ(before.Data.Messages[3].cut(), "");
}

}  // namespace
}  // namespace zt::gui
