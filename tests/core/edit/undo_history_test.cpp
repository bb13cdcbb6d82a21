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
        const WriteBackResult r = writeBack(doc, {7, row, kColRx, mhz}, state.Limits);
        ASSERT_EQ(r.action, WriteBackAction::Created) << mhz;
    }

    ProgramState state;
    RadioDocument doc;
};

TEST_F(UndoHistoryTest, OnlyRealChangesMakeSteps)
{
    UndoHistory history;
    history.clear(doc);
    EXPECT_FALSE(history.record(doc));

    // A text rewritten in its stored form ("AB" padded with spaces rather
    // than ended by a NUL) is no change the user could see.
    doc.Data.Messages[0] = FixedText<16>("AB");
    history.clear(doc);
    RadioDocument restored = doc;
    restored.Data.Messages[0] = FixedText<16>(std::string("AB\0             ", 16));
    ASSERT_FALSE(identical(restored, doc));
    EXPECT_FALSE(history.record(restored));
    EXPECT_FALSE(history.canUndo());
    // ... but the history now holds that form, so an undo brings it back exactly.
    typeRx(1, "27.005");
    EXPECT_TRUE(history.record(doc));
    EXPECT_TRUE(identical(*history.undo(), restored));
}

TEST_F(UndoHistoryTest, UndoAllTheWayAndRedoBackToIdenticalDocuments)
{
    UndoHistory history;
    history.clear(doc);
    const RadioDocument saved = doc;
    std::vector<RadioDocument> states{doc};

    typeRx(1, "27.005");  // a new channel
    states.push_back(doc);
    doc.Data.Dtmf.Memory[2].Digits = FixedText<16>("123");  // a DTMF memory code
    doc.Data.Dtmf.Memory[2].Length = 3;
    states.push_back(doc);
    doc.Data.Messages[1] = FixedText<16>("HELLO");  // an embedded message line
    states.push_back(doc);
    ASSERT_TRUE(deleteChannel(doc, 321));  // the new channel deleted again
    states.push_back(doc);
    doc.Data.Options.CurrentGroup = 5;  // the group the grid shows
    states.push_back(doc);
    for (std::size_t i = 1; i < states.size(); ++i) EXPECT_TRUE(history.record(states[i])) << i;

    EXPECT_EQ(history.undoCount(), states.size() - 1);
    for (std::size_t i = states.size() - 1; i-- > 0;) {
        const auto back = history.undo();
        ASSERT_TRUE(back) << i;
        EXPECT_TRUE(identical(*back, states[i])) << i;
    }
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.undo());
    // Back at the saved state: the modified test sees nothing.
    EXPECT_FALSE(documentsDiffer(history.current(), saved));

    for (std::size_t i = 1; i < states.size(); ++i) {
        const auto forward = history.redo();
        ASSERT_TRUE(forward) << i;
        EXPECT_TRUE(identical(*forward, states[i])) << i;
        EXPECT_TRUE(documentsDiffer(*forward, saved)) << i;
    }
    EXPECT_FALSE(history.canRedo());
    EXPECT_FALSE(history.redo());
}

TEST_F(UndoHistoryTest, ANewChangeAfterUndoForgetsTheRedoStepsAndClearForgetsAll)
{
    UndoHistory history;
    history.clear(doc);
    typeRx(1, "27.005");
    history.record(doc);
    typeRx(2, "27.015");
    history.record(doc);
    doc = *history.undo();
    ASSERT_TRUE(history.canRedo());

    typeRx(3, "27.025");
    EXPECT_TRUE(history.record(doc));
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.undoCount(), 2u);

    history.clear(doc);
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
    EXPECT_TRUE(identical(history.current(), doc));
}

TEST_F(UndoHistoryTest, AdoptedValuesMakeNoStepAndKeepRedo)
{
    UndoHistory history;
    history.clear(doc);
    const RadioDocument initial = doc;
    typeRx(1, "27.005");
    history.record(doc);
    const RadioDocument created = doc;
    typeRx(2, "27.015");
    history.record(doc);
    doc = *history.undo();

    // A window opened on the restored state writes a value of its own.
    doc.Data.Dtmf.Rate = 3;
    history.adopt(doc);
    EXPECT_EQ(history.undoCount(), 1u);
    EXPECT_EQ(history.redoCount(), 1u);
    EXPECT_FALSE(history.record(doc));
    EXPECT_EQ(history.redo()->Data.ChannelCount, created.Data.ChannelCount + 1);
    EXPECT_TRUE(identical(*history.undo(), doc));
    EXPECT_TRUE(identical(*history.undo(), initial));
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
    EXPECT_EQ(history.undoCount(), 3u);
    RadioDocument last;
    while (auto back = history.undo()) last = *back;
    EXPECT_TRUE(identical(last, states[2]));
    EXPECT_EQ(history.redoCount(), 3u);

    EXPECT_EQ(UndoHistory(0).stepLimit(), 1u);
}

TEST_F(UndoHistoryTest, TypingIntoOneBoxIsOneStep)
{
    doc.Data.Messages = {};
    UndoHistory history;
    history.clear(doc);
    const RadioDocument before = doc;
    auto typeMessage = [&](const char* text, std::uint64_t run) {
        doc.Data.Messages[0] = FixedText<16>(text);
        return history.record(doc, run);
    };
    EXPECT_TRUE(typeMessage("H", 1));
    EXPECT_TRUE(typeMessage("HI", 1));
    EXPECT_TRUE(typeMessage("HI!", 1));
    EXPECT_EQ(history.undoCount(), 1u);
    // Another box (another run) is a step of its own.
    doc.Data.Messages[1] = FixedText<16>("X");
    EXPECT_TRUE(history.record(doc, 2));
    EXPECT_EQ(history.undoCount(), 2u);

    // After an undo the same run starts a new step rather than changing the
    // step that was undone.
    doc = *history.undo();
    doc.Data.Messages[1] = FixedText<16>("Y");
    EXPECT_TRUE(history.record(doc, 2));
    EXPECT_EQ(history.undoCount(), 2u);
    EXPECT_EQ(history.undo()->Data.Messages[1].cut(), "");

    // Typed and erased again: no step is left behind, and typing on makes one.
    doc = *history.undo();
    ASSERT_TRUE(identical(doc, before));
    EXPECT_TRUE(typeMessage("Z", 7));
    EXPECT_FALSE(typeMessage("", 7));
    EXPECT_FALSE(history.canUndo());
    EXPECT_TRUE(typeMessage("Q", 7));
    EXPECT_EQ(history.undoCount(), 1u);
    EXPECT_FALSE(documentsDiffer(*history.undo(), before));
}

}  // namespace
}  // namespace zt
