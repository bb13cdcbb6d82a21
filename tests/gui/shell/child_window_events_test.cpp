// Child windows in the main window's area: the channel editor the grid opens,
// the grid following the editor's group, pending edits committed before the
// document is read, and the texts following the language.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "core/files/data_file.h"
#include "core/text_ids.h"
#include "gui/channels/channel_editor_window.h"
#include "gui/channels/channel_grid_window.h"
#include "shell_fixture.h"

namespace zt::gui::test {
namespace {

constexpr int kFreeGroup = 7;  // channels 321-360: empty and always editable

class ChildWindowEvents : public ::testing::Test {
  protected:
    void SetUp() override
    {
        program = std::make_unique<ShellProgram>(install);
        w = &program->main(install);
    }
    ChannelGridWindow* grid()
    {
        return qobject_cast<ChannelGridWindow*>(w->childWindow("frmCommChInfo"));
    }
    ChannelEditorWindow* editor()
    {
        return qobject_cast<ChannelEditorWindow*>(w->childWindow("FrmCHInfoEdit"));
    }
    void openEditorFromGrid() { grid()->findChild<QPushButton*>("CommandCHInfoEdit")->click(); }
    AppContext& app() { return program->app; }

    ShellInstall install;
    std::unique_ptr<ShellProgram> program;
    MainWindow* w = nullptr;
};

void choose(QComboBox* list, int index)
{
    list->setCurrentIndex(index);
    emit list->activated(index);
}

TEST_F(ChildWindowEvents, TheGridsEditorOpensOnceInTheAreaAndOutlivesTheGrid)
{
    ASSERT_NE(grid(), nullptr);
    openEditorFromGrid();
    QPointer<ChannelEditorWindow> first = editor();
    ASSERT_NE(first, nullptr);
    auto* frame = qobject_cast<QMdiSubWindow*>(first->parentWidget());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->objectName(), "FrmCHInfoEditFrame");
    EXPECT_EQ(w->childWindowCount(), 2);

    openEditorFromGrid();
    EXPECT_EQ(w->childWindowCount(), 2);

    // A grid opened again finds the editor that is still open.
    w->closeChildWindow("frmCommChInfo");
    ASSERT_FALSE(first.isNull());
    w->showChildWindow("frmCommChInfo");
    openEditorFromGrid();
    EXPECT_EQ(w->childWindowCount(), 2);
    EXPECT_EQ(editor(), first.data());
}

TEST_F(ChildWindowEvents, GroupChosenInTheEditorIsShownByTheGridAndTheEditorFollowsTheGrid)
{
    openEditorFromGrid();
    ASSERT_NE(editor(), nullptr);
    choose(editor()->findChild<QComboBox*>("Combo4"), kFreeGroup);
    EXPECT_EQ(grid()->shownGroup(), kFreeGroup);

    // Closing the grid ends its part: a group chosen now reaches nobody and breaks nothing.
    w->closeChildWindow("frmCommChInfo");
    choose(editor()->findChild<QComboBox*>("Combo4"), kFreeGroup + 1);
    EXPECT_EQ(app().channelEdit.currentGroup, kFreeGroup + 1);
}

TEST_F(ChildWindowEvents, FrequencyTypedInTheEditorIsSavedByTheSaveCommand)
{
    openEditorFromGrid();
    choose(editor()->findChild<QComboBox*>("Combo4"), kFreeGroup);
    auto* frequency = editor()->findChild<QLineEdit*>("Text1");
    ASSERT_TRUE(frequency->isEnabled());
    frequency->setFocus();
    QTest::keyClicks(frequency, "27.005");  // no Enter: the entry is pending

    const fs::path file = install.root() / "typed.dat";
    program->prompt.files = {QString::fromStdString(file.string())};
    ASSERT_TRUE(w->fileSaveAs());
    const ParsedDataFile saved = readDataFile(file);
    ASSERT_EQ(saved.messageId, 0);
    ASSERT_NE(saved.document.findChannel(321), nullptr);
    EXPECT_EQ(saved.document.findChannel(321)->RxFre.cut(), "02700500");
    // The grid shows what the editor wrote.
    EXPECT_EQ(grid()->cellText(1, 1), "27.00500");
}

TEST_F(ChildWindowEvents, OpenWindowsFollowTheLanguage)
{
    openEditorFromGrid();
    w->showChildWindow("FrmDTMF");
    QWidget* dtmf = w->childWindow("FrmDTMF");
    ASSERT_NE(dtmf, nullptr);
    const QString englishEditor = editor()->windowTitle();

    app().texts.setLanguage(2);
    w->applyLanguage();
    EXPECT_NE(editor()->windowTitle(), englishEditor);
    EXPECT_EQ(editor()->windowTitle(), app().text(text::channeledit::ChannelEditorWindowCaption));
    EXPECT_EQ(dtmf->windowTitle(), app().text(text::dtmf::DTMFWindowCaption));

    // A closed window is no longer told; the open ones follow back.
    w->closeChildWindow("FrmDTMF");
    app().texts.setLanguage(1);
    w->applyLanguage();
    EXPECT_EQ(editor()->windowTitle(), englishEditor);
}

}  // namespace
}  // namespace zt::gui::test
