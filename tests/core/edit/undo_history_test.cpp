#include <gtest/gtest.h>

#include <vector>

#include "core/edit/channel_grid_rules.h"
#include "core/edit/channel_write_back.h"
#include "core/edit/undo_history.h"
#include "core/files/document_store.h"
#include "core/radio/initial_values.h"

namespace zt {
namespace {

// Byte for byte the same document (the history must restore exact copies).
bool identical(const RadioDocument& a, const RadioDocument& b)
{
    return a.Data == b.Data && a.Channels == b.Channels;
}

class UndoHistoryTest : public ::testing::Test {
  protected:
    UndoHistoryTest() { applyNewDocumentDefaults(doc, state); }

    // Types a receive frequency into a grid cell of group 7 (channels 321-360).
    void typeRx(int row, const char* mhz)
    {
        ASSERT_EQ(writeBack(doc, {7, row, kColRx, mhz}, state.Limits).action,
                  WriteBackAction::Created);
    }

    ProgramState state;
    RadioDocument doc;
};

TEST_F(UndoHistoryTest, UndoAllTheWayAndRedoBackToIdenticalDocuments)
{
    UndoHistory history;
    history.clear(doc);
    const RadioDocument saved = doc;
    EXPECT_FALSE(history.record(doc));

    std::vector<RadioDocument> states{doc};
    auto step = [&] {
        EXPECT_TRUE(history.record(doc));
        states.push_back(doc);
    };
    typeRx(1, "27.005");
    step();
    doc.Data.Dtmf.Memory[2] = DtmfCode{3, FixedText<16>("123")};
    step();
    ASSERT_TRUE(deleteChannel(doc, 321));
    step();
    doc.Data.Options.CurrentGroup = 5;
    step();

    for (std::size_t i = states.size() - 1; i-- > 0;)
        EXPECT_TRUE(identical(*history.undo(), states[i])) << i;
    EXPECT_FALSE(history.undo());
    // Back at the saved state: the modified test sees nothing.
    EXPECT_FALSE(documentsDiffer(history.current(), saved));
    for (std::size_t i = 1; i < states.size(); ++i)
        EXPECT_TRUE(identical(*history.redo(), states[i])) << i;
    EXPECT_FALSE(history.redo());

    // A new change after an undo forgets what could be redone.
    doc = *history.undo();
    typeRx(3, "27.025");
    EXPECT_TRUE(history.record(doc));
    EXPECT_FALSE(history.canRedo());
    history.clear(doc);
    EXPECT_FALSE(history.canUndo());
}

TEST_F(UndoHistoryTest, StoredFormsAndOpeningWindowsMakeNoStep)
{
    doc.Data.Messages[0] = "AB";
    UndoHistory history;
    history.clear(doc);
    // "AB" ended by a NUL rather than padded with spaces: no change a user
    // could see, but the history holds that form from now on.
    RadioDocument stored = doc;
    stored.Data.Messages[0] = std::string("AB\0             ", 16);
    EXPECT_FALSE(history.record(stored));
    typeRx(1, "27.005");
    history.record(doc);
    EXPECT_TRUE(identical(*history.undo(), stored));

    // A window opened on the restored state writes a value of its own: taken
    // in without a step, and redo still there.
    stored.Data.Dtmf.Rate = 3;
    history.adopt(stored);
    EXPECT_EQ(history.undoCount(), 0u);
    ASSERT_TRUE(history.canRedo());
    EXPECT_TRUE(identical(*history.redo(), doc));
    EXPECT_TRUE(identical(*history.undo(), stored));
}

TEST_F(UndoHistoryTest, TypingIntoOneBoxIsOneStep)
{
    doc.Data.Messages = {};
    UndoHistory history;
    history.clear(doc);
    const RadioDocument before = doc;
    auto type = [&](std::size_t line, const char* text, std::uint64_t run) {
        doc.Data.Messages[line] = text;
        return history.record(doc, run);
    };
    EXPECT_TRUE(type(0, "H", 1));
    EXPECT_TRUE(type(0, "HI", 1));
    EXPECT_TRUE(type(1, "X", 2));  // another box
    EXPECT_EQ(history.undoCount(), 2u);

    // After an undo the same run starts a new step.
    doc = *history.undo();
    EXPECT_TRUE(type(1, "Y", 2));
    EXPECT_EQ(history.undoCount(), 2u);
    EXPECT_EQ(history.undo()->Data.Messages[1].cut(), "");

    // Typed and erased again: no step is left behind.
    doc = *history.undo();
    EXPECT_TRUE(type(0, "Z", 7));
    EXPECT_FALSE(type(0, "", 7));
    EXPECT_FALSE(history.canUndo());
    EXPECT_TRUE(type(0, "Q", 7));
    EXPECT_FALSE(documentsDiffer(*history.undo(), before));
}

TEST_F(UndoHistoryTest, TheStepLimitDropsTheOldestSteps)
{
    UndoHistory history(3);
    history.clear(doc);
    std::vector<RadioDocument> states{doc};
    for (int row = 1; row <= 5; ++row) {
        typeRx(row, "27.005");
        history.record(doc);
        states.push_back(doc);
    }
    RadioDocument oldest;
    while (auto back = history.undo()) oldest = *back;
    EXPECT_TRUE(identical(oldest, states[2]));
    EXPECT_EQ(history.redoCount(), 3u);
    EXPECT_EQ(UndoHistory(0).stepLimit(), 1u);
}

}  // namespace
}  // namespace zt
