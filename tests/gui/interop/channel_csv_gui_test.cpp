// File > Import channels... and File > Export channels... used through the real
// start-up, with the prompt service answering the dialogs and windows.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "core/files/document_store.h"
#include "core/text_ids.h"
#include "gui/channels/channel_grid_view.h"
#include "gui/channels/channel_grid_window.h"
#include "gui/interop/import_preview_dialog.h"
#include "gui/shell/started_program.h"

namespace zt::gui::test {
namespace {

constexpr int kFreeGroup = 7;  // channels 321-360: empty and always editable in the initial data

class ChannelCsvCommandsTest : public ::testing::Test {
  protected:
    explicit ChannelCsvCommandsTest(StartOptions options = {}) : program(options) {}

    void SetUp() override
    {
        if (!program.initDataPresent())
            GTEST_SKIP() << "the initial-data files are not built (target initdata)";
        program.prompt.asked.clear();
        // Windows other than the preview: pick the option named in `option`.
        program.prompt.modalHandler = [this](QDialog& dialog) {
            if (auto* preview = qobject_cast<ImportPreviewDialog*>(&dialog)) {
                previewSeen = true;
                return onPreview ? onPreview(*preview) : int(QDialog::Rejected);
            }
            if (option.isEmpty()) return int(QDialog::Rejected);
            auto* button = dialog.findChild<QRadioButton*>(option);
            EXPECT_NE(button, nullptr) << option.toStdString();
            if (button) button->setChecked(true);
            return int(QDialog::Accepted);
        };
    }

    ChannelGridWindow* grid() const
    {
        return qobject_cast<ChannelGridWindow*>(program.window->childWindow("frmCommChInfo"));
    }
    QString gridCell(int row, int col) const { return grid()->cellText(row, col); }
    // Opens the receive-frequency editor of a row (1-based) of the shown group.
    QLineEdit* editRxCell(int row)
    {
        ChannelGridView* table = grid()->grid();
        if (table->currentRow() == row - 1 && table->currentColumn() == 1)
            emit table->clicked(table->model()->index(row - 1, 1));
        else
            table->setCurrentCell(row - 1, 1);
        QApplication::processEvents();
        auto* editor = grid()->findChild<QLineEdit*>("Text1");
        EXPECT_TRUE(editor && editor->isVisible());
        return editor;
    }
    void showGroup(int group)
    {
        grid()->findChild<QComboBox*>("Combo7")->setCurrentIndex(group);
        QApplication::processEvents();
    }
    fs::path writeFile(const char* name, const std::string& text)
    {
        const fs::path file = program.root() / name;
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }
    void importFile(const fs::path& file, const char* mode)
    {
        option = mode;
        program.prompt.files = {QString::fromStdString(file.string())};
        program.action("mnuFileImportChannels")->trigger();
        QApplication::processEvents();
    }
    const ChannelRecord* channel(int chNo) const
    {
        return program.app.documents.working().findChannel(chNo);
    }
    static std::vector<QString> column(const QTableWidget* table, int col)
    {
        std::vector<QString> v;
        for (int r = 0; r < table->rowCount(); ++r) v.push_back(table->item(r, col)->text());
        return v;
    }
    static std::vector<QString> channelsListed(const QTreeWidget* tree)
    {
        std::vector<QString> v;
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            v.push_back(tree->topLevelItem(i)->text(0));
        return v;
    }

    StartedProgram program;
    QString option;
    std::function<int(ImportPreviewDialog&)> onPreview;
    bool previewSeen = false;
};

const std::string kMixedFile =
    "Location,Frequency,Tone,rToneFreq\r\n"
    "321,27.005000,,\r\n"
    "322,99.000000,,\r\n"
    "323,27.015000,Tone,88.5\r\n"
    "324,27.025000,Tone,12.3\r\n"
    "325,27.035000,,\r\n";

TEST_F(ChannelCsvCommandsTest, CancellingAtAnyStepChangesNothing)
{
    const RadioDocument before = program.app.documents.working();
    QWidget* gridBefore = grid();
    const fs::path file = writeFile("mixed.csv", kMixedFile);

    // The file dialog cancelled.
    program.prompt.files = {std::nullopt};
    program.action("mnuFileImportChannels")->trigger();
    // The way to import cancelled.
    importFile(file, "");
    EXPECT_FALSE(previewSeen);
    // The preview cancelled.
    onPreview = [](ImportPreviewDialog&) { return int(QDialog::Rejected); };
    importFile(file, "OptionByLocation");
    EXPECT_TRUE(previewSeen);
    EXPECT_EQ(program.prompt.modalWindows,
              (std::vector<QString>{"FrmImportMode", "FrmImportMode", "FrmImportPreview"}));
    // Unticking every channel leaves nothing to import.
    onPreview = [](ImportPreviewDialog& preview) {
        QTreeWidget* list = preview.changeList();
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            list->topLevelItem(i)->setCheckState(0, Qt::Unchecked);
        EXPECT_FALSE(preview.importButton()->isEnabled());
        return int(QDialog::Accepted);
    };
    importFile(file, "OptionByLocation");

    // Export cancelled at the choice and at the file dialog.
    option.clear();
    program.action("mnuFileExportChannels")->trigger();
    EXPECT_EQ(program.prompt.fileRequests.size(), 4u);  // the four imports only
    option = "OptionAllChannels";
    program.prompt.files = {std::nullopt};
    program.action("mnuFileExportChannels")->trigger();

    EXPECT_FALSE(documentsDiffer(before, program.app.documents.working()));
    EXPECT_FALSE(program.app.documents.IsModified());
    EXPECT_EQ(grid(), gridBefore);  // no window was closed
    EXPECT_TRUE(program.prompt.asked.empty());
}

TEST_F(ChannelCsvCommandsTest, BadRowsAreListedByLineAndOnlyTheTickedGoodChannelsAreTaken)
{
    showGroup(kFreeGroup);
    onPreview = [this](ImportPreviewDialog& preview) {
        const QTableWidget* errors = preview.errorList();
        EXPECT_EQ(column(errors, 0), (std::vector<QString>{"3", "5"}));
        EXPECT_EQ(column(errors, 2), (std::vector<QString>{"Frequency", "rToneFreq"}));
        EXPECT_EQ(column(errors, 3), (std::vector<QString>{"99.000000", "12.3"}));
        EXPECT_EQ(column(errors, 4),
                  (std::vector<QString>{program.app.text(text::channelinfo::RowReasonOutOfBand),
                                        program.app.text(text::channelinfo::RowReasonBadTone)}));
        QTreeWidget* changes = preview.changeList();
        EXPECT_EQ(channelsListed(changes), (std::vector<QString>{"321", "323", "325"}));
        // Channel 323 lists its new frequency and tone, with nothing before them.
        const QTreeWidgetItem* ch323 = changes->topLevelItem(1);
        EXPECT_EQ(ch323->text(1), "4");
        EXPECT_EQ(ch323->text(2), program.app.text(text::channelinfo::PreviewNewChannel));
        bool toneShown = false;
        for (int i = 0; i < ch323->childCount(); ++i)
            if (ch323->child(i)->text(4) == "88.5") toneShown = ch323->child(i)->text(3).isEmpty();
        EXPECT_TRUE(toneShown);
        // The user leaves channel 325 out and imports.
        changes->topLevelItem(2)->setCheckState(0, Qt::Unchecked);
        EXPECT_TRUE(preview.importButton()->isEnabled());
        preview.importButton()->click();
        return preview.result();
    };
    importFile(writeFile("mixed.csv", kMixedFile), "OptionByLocation");

    ASSERT_NE(channel(321), nullptr);
    ASSERT_NE(channel(323), nullptr);
    EXPECT_EQ(channel(323)->EncodeTone, 9);
    for (int refused : {322, 324, 325}) EXPECT_EQ(channel(refused), nullptr) << refused;
    EXPECT_TRUE(program.app.documents.IsModified());
    // The channel window shows the new channels.
    ASSERT_NE(grid(), nullptr);
    EXPECT_EQ(gridCell(1, 1), "27.00500");
    EXPECT_EQ(gridCell(3, 1), "27.01500");
    EXPECT_EQ(gridCell(5, 1), "");
}

TEST_F(ChannelCsvCommandsTest, ThePreviewMarksFieldsTheRadioDoesNotStore)
{
    showGroup(kFreeGroup);
    std::map<QString, QString> notes;  // field caption -> note
    onPreview = [&](ImportPreviewDialog& preview) {
        const QTreeWidgetItem* ch = preview.changeList()->topLevelItem(0);
        for (int i = 0; ch && i < ch->childCount(); ++i)
            notes[ch->child(i)->text(2)] = ch->child(i)->text(5);
        return int(QDialog::Rejected);
    };
    importFile(writeFile("notes.csv",
                         "Location,Frequency,Duplex,Mode,Tone,rToneFreq\r\n"
                         "321,27.005000,off,FM,Tone,88.5\r\n"),
               "OptionByLocation");
    const QString kept = program.app.text(text::channelinfo::PreviewNotStoredByRadio);
    auto caption = [&](int id) { return program.app.text(id); };
    EXPECT_EQ(notes[caption(text::channeledit::CheckBoxTransmitInhibit)], kept);
    EXPECT_EQ(notes[caption(text::channeledit::LabelModulationAMFM)], kept);
    EXPECT_EQ(notes[caption(text::channelinfo::GridHeadingEncodeTone)], QString());
    EXPECT_EQ(notes[caption(text::channelinfo::GridHeadingReceiveFrequency)], QString());
    EXPECT_EQ(notes.size(), 4u);  // receive frequency, transmit tone, modulation, inhibit
}

TEST_F(ChannelCsvCommandsTest, IntoTheShownGroupFromItsFirstFreeRow)
{
    showGroup(kFreeGroup);
    // Rows 1 and 3 of the group are taken first, through the grid's own editor.
    for (int row : {1, 3}) {
        QLineEdit* editor = editRxCell(row);
        QTest::keyClicks(editor, row == 1 ? "27.2" : "27.3");
        QTest::keyClick(editor, Qt::Key_Return);
    }
    ASSERT_NE(channel(323), nullptr);

    // Location is not read: the rows go to rows 2, 4 and 5 in the order of the file.
    const std::string csv =
        "\xEF\xBB\xBF"
        "Location,Frequency,Mode\n1,27.105,NFM\n1,27.115,\n1,27.125,\n";
    onPreview = [](ImportPreviewDialog& preview) {
        EXPECT_EQ(channelsListed(preview.changeList()),
                  (std::vector<QString>{"322", "324", "325"}));
        EXPECT_FALSE(preview.errorList()->isVisibleTo(&preview));
        return int(QDialog::Accepted);
    };
    importFile(writeFile("group.csv", csv), "OptionIntoGroup");

    EXPECT_EQ(channel(321)->RxFre.cut(), "02720000");
    EXPECT_EQ(channel(323)->RxFre.cut(), "02730000");
    ASSERT_NE(channel(322), nullptr);
    EXPECT_EQ(channel(322)->Spacing, 2);
    EXPECT_EQ(gridCell(2, 1), "27.10500");
    EXPECT_EQ(gridCell(4, 1), "27.11500");
    EXPECT_EQ(gridCell(5, 1), "27.12500");
}

std::string readAll(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::set<fs::path> filesIn(const fs::path& folder)
{
    std::set<fs::path> v;
    for (const auto& e : fs::directory_iterator(folder)) v.insert(e.path());
    return v;
}

TEST_F(ChannelCsvCommandsTest, ExportOfTheShownGroupHoldsItsChannelsWithAnEntryStillBeingTyped)
{
    showGroup(kFreeGroup);
    QTest::keyClicks(editRxCell(1), "27.045");  // no Enter

    option = "OptionShownGroup";
    program.prompt.files = {QString::fromStdString((program.root() / "group7").string())};
    program.action("mnuFileExportChannels")->trigger();
    const std::string csv = readAll(program.root() / "group7.csv");
    EXPECT_EQ(csv.substr(0, csv.find('\r')),
              "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
              "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Comment,URCALL,RPT1CALL,"
              "RPT2CALL,DVCODE");
    EXPECT_NE(csv.find("\r\n321,,27.045000,"), std::string::npos) << csv;
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2) << csv;
    ASSERT_FALSE(program.prompt.asked.empty());
    EXPECT_EQ(program.prompt.asked.back().message.icon, Icon::Information);

    // The whole document holds the initial channels of the other groups as well.
    option = "OptionAllChannels";
    program.prompt.files = {QString::fromStdString((program.root() / "all.csv").string())};
    program.action("mnuFileExportChannels")->trigger();
    const std::string all = readAll(program.root() / "all.csv");
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'),
              program.app.documents.working().Data.ChannelCount + 1);
    EXPECT_NE(all.find(",Group 0,"), std::string::npos);
}

TEST_F(ChannelCsvCommandsTest, AFailedExportSaysSoAndLeavesNoFileBehind)
{
    // The chosen name is a folder: the file cannot be put there.
    const fs::path folder = program.root() / "taken.csv";
    fs::create_directory(folder);
    const std::set<fs::path> before = filesIn(program.root());
    option = "OptionAllChannels";
    program.prompt.files = {QString::fromStdString(folder.string())};
    program.action("mnuFileExportChannels")->trigger();

    ASSERT_EQ(program.prompt.asked.size(), 1u);
    EXPECT_EQ(program.prompt.asked[0].message.textId, text::msg::ExportFailed);
    EXPECT_EQ(program.prompt.asked[0].message.icon, Icon::Error);
    EXPECT_EQ(filesIn(program.root()), before);
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST_F(ChannelCsvCommandsTest, AnUnreadableOrOversizedFileIsRefusedBeforeAnyQuestion)
{
    importFile(program.root() / "missing.csv", "OptionByLocation");
    const fs::path huge = program.root() / "huge.csv";
    std::ofstream(huge, std::ios::binary) << std::string(5u << 20, 'x');
    importFile(huge, "OptionByLocation");
    EXPECT_EQ(program.prompt.askedIds(),
              (std::vector<int>{text::msg::ImportFileUnreadable, text::msg::ImportFileUnreadable}));
    EXPECT_TRUE(program.prompt.modalWindows.empty());
}

class ChannelCsvCommandsChinese : public ChannelCsvCommandsTest {
  protected:
    ChannelCsvCommandsChinese() : ChannelCsvCommandsTest(StartOptions{kLocaleChinesePrc, 0}) {}
};

TEST_F(ChannelCsvCommandsChinese, ThePreviewSpeaksTheProgramsLanguage)
{
    EXPECT_EQ(program.action("mnuFileImportChannels")->text(), "导入信道(&I)...");
    onPreview = [](ImportPreviewDialog& preview) {
        EXPECT_EQ(preview.windowTitle(), "导入信道：预览");
        EXPECT_EQ(preview.errorList()->item(0, 4)->text(), "超出频段范围");
        EXPECT_EQ(preview.changeList()->headerItem()->text(4), "导入后");
        return int(QDialog::Rejected);
    };
    importFile(writeFile("mixed.csv", kMixedFile), "OptionByLocation");
    EXPECT_TRUE(previewSeen);
}

}  // namespace
}  // namespace zt::gui::test
