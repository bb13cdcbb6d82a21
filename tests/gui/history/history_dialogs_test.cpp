// The write preview and the backups window on hand-made documents and snapshot files.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <fstream>

#include "core/history/snapshot_store.h"
#include "core/radio/channel_edit.h"
#include "core/radio/image_codec.h"
#include "core/radio/models.h"
#include "gui/app_context.h"
#include "gui/history/backups_dialog.h"
#include "gui/history/comparison_dialog.h"
#include "gui/history/history_menu.h"
#include "gui/prompt/scripted_prompt_service.h"

namespace zt::gui {
namespace {

namespace fs = std::filesystem;

struct Rig {
    QTemporaryDir dir;
    ScriptedPromptService prompt;
    AppContext app;
    Rig()
    {
        app.paths.programDir = fs::path(dir.path().toStdString()) / "V300";
        fs::create_directories(app.paths.languageDir());
        const fs::path source = fs::path(ZT_SOURCE_DIR) / "data" / "language";
        for (const char* name : {"english.ini", "chinese.ini"})
            fs::copy_file(source / name, app.paths.languageDir() / name);
        app.texts.setLanguageDir(app.paths.languageDir());
        app.texts.setLanguage(1);
        app.prompt = &prompt;
    }
};

RadioDocument document(const char* rx405)
{
    RadioDocument doc;
    newChannel(doc, 12, "02700000");
    newChannel(doc, 405, rx405);
    return doc;
}

TEST(WritePreview, ListsTheChannelsUnderTheirGroupAndCancelIsTheDefault)
{
    Rig rig;
    const DocumentComparison c =
        compareDocuments(document("02962000"), document("02963000"), rig.app.state.Limits);
    ComparisonDialog dialog(rig.app, c, ComparisonDialog::Mode::WritePreview);
    EXPECT_EQ(dialog.countsLabel()->text(), "1 channel and 0 settings will change.");
    QTreeWidget* list = dialog.differenceList();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_TRUE(list->topLevelItem(0)->text(0).endsWith(" 9"))
        << list->topLevelItem(0)->text(0).toStdString();
    ASSERT_EQ(list->topLevelItem(0)->childCount(), 1);
    QTreeWidgetItem* line = list->topLevelItem(0)->child(0);
    EXPECT_EQ(line->text(0),
              QString::fromUtf8("channel 405: receive 29.62000 \xE2\x86\x92 29.63000"));

    QSignalSpy chosen(&dialog, &ComparisonDialog::channelChosen);
    emit list->itemDoubleClicked(line, 0);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.front().front().toInt(), 405);

    auto* cancel = dialog.findChild<QPushButton*>("CommandCancel");
    auto* write = dialog.findChild<QPushButton*>("CommandWrite");
    ASSERT_TRUE(cancel && write);
    EXPECT_TRUE(cancel->isDefault());
    EXPECT_FALSE(write->isDefault());
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    const DocumentComparison none =
        compareDocuments(document("02962000"), document("02962000"), rig.app.state.Limits);
    ComparisonDialog same(rig.app, none, ComparisonDialog::Mode::WritePreview);
    EXPECT_EQ(same.countsLabel()->text(),
              "Nothing differs: the radio already holds this document.");
    EXPECT_EQ(same.differenceList()->topLevelItemCount(), 0);
}

TEST(WritePreview, SpeaksTheProgramsLanguageFromTheLanguageFiles)
{
    Rig rig;
    rig.app.texts.setLanguage(2);
    RadioDocument before = document("02962000");
    before.findChannel(405)->EncodeTone = 1;  // CTCSS 67.0
    RadioDocument after = document("02963000");
    after.Data.Options.SquelchLevel = 5;
    const DocumentComparison c = compareDocuments(before, after, rig.app.state.Limits);
    ComparisonDialog dialog(rig.app, c, ComparisonDialog::Mode::WritePreview);
    EXPECT_EQ(dialog.countsLabel()->text(), QString::fromUtf8("将改变 1 个信道和 1 项设置。"));
    QTreeWidget* list = dialog.differenceList();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QString::fromUtf8("组 9"));
    EXPECT_EQ(
        list->topLevelItem(0)->child(0)->text(0),
        QString::fromUtf8("信道 405: 接收频率 29.62000 → 29.63000; 发射亚音 CTCSS 67.0 → 关"));
    EXPECT_EQ(list->topLevelItem(1)->text(0), QString::fromUtf8("设置"));
    EXPECT_EQ(list->topLevelItem(1)->child(0)->text(0), QString::fromUtf8("静噪等级: 0 → 5"));
    EXPECT_TRUE(rig.app.texts.missingIds().empty());

    // Every word of a comparison is in both language files; the English file words it as the
    // command line does, and the Chinese keeps its %1, %2.
    const fs::path dir = rig.app.paths.languageDir();
    for (const ComparisonWord& w : comparisonWordList()) {
        const std::string english = readLangTextFromFile(dir / "english.ini", w.textId);
        const std::string chinese = readLangTextFromFile(dir / "chinese.ini", w.textId);
        EXPECT_EQ(english, w.english) << w.textId;
        EXPECT_FALSE(chinese.empty()) << w.textId;
        for (const char* mark : {"%1", "%2"})
            EXPECT_EQ(chinese.find(mark) == std::string::npos,
                      english.find(mark) == std::string::npos)
                << w.textId << " " << mark;
    }
}

class SecondClock final : public WallClock {
  public:
    std::int64_t secondsSinceEpoch() const override { return 1000000000; }
};

TEST(BackupsWindow, ListsEverySnapshotNewestFirstAndRefusesADamagedOne)
{
    Rig rig;
    rig.app.documents.working() = document("02962000");
    rig.app.documents.working().Data.ModelName = kStandardModel;
    const fs::path root = fs::path(rig.dir.path().toStdString()) / "radios";
    const fs::path folder = root / "ZT-958FM_band0_V300_SN1";
    fs::create_directories(folder);
    // 1000 snapshots a minute apart; the newest holds the open document with 405 changed.
    for (int i = 0; i < 1000; ++i) {
        Snapshot s;
        s.time = 1000000000 + 60 * i;
        s.kind = i % 2 ? SnapshotKind::BeforeWrite : SnapshotKind::Read;
        // As a read gives it: the radio's image and the document decoded from it (the
        // channels' power and modulation flags as the radio holds them, not as the open
        // document does).
        RadioDocument held = document(i == 999 ? "02963000" : "02962000");
        RadioImage image;
        image.clear();
        ProgramState state;
        encodeDocument(held, state, image);
        s.image.assign(image.bytes.begin(), image.bytes.end());
        decodeImage(image, held, state);
        s.document = held;
        const std::vector<std::uint8_t> bytes = snapshotFileBytes(s);
        std::ofstream(folder / ("s" + std::to_string(10000 + i) + ".snapshot"), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    std::ofstream(folder / "damaged.snapshot") << "ZTP958FM snapshot 1\ntime 5\n";
    SecondClock clock;
    SnapshotStore store(root, clock);
    BackupsDialog dialog(rig.app, store);
    ASSERT_EQ(dialog.radioList()->count(), 1);
    QTableWidget* table = dialog.snapshotTable();
    ASSERT_EQ(table->rowCount(), 1001);
    EXPECT_EQ(table->item(0, 0)->text(), "2001-09-09 18:25:40 UTC");
    EXPECT_EQ(table->item(0, 1)->text(), "before write");
    EXPECT_EQ(table->item(1, 1)->text(), "read");
    // The damaged file is listed with its reason, not left out.
    EXPECT_TRUE(table->item(1000, 2)->text().startsWith("This snapshot cannot be used:"));
    // Differences are worked out on the event loop, not before the window shows.
    EXPECT_EQ(dialog.pendingDifferences(), 1000);
    dialog.fillDifferences(2);
    EXPECT_EQ(table->item(0, 2)->text(), "1 channel, 0 settings");
    EXPECT_EQ(table->item(1, 2)->text(), "equal");
    EXPECT_EQ(dialog.pendingDifferences(), 998);
}

TEST(BackupsWindow, AWrittenSnapshotOfTheOpenDocumentIsEqualToIt)
{
    // A write keeps the document as it was written, beside the image sent. The radio stores
    // every channel's power and modulation flags as the fixed byte 0x7B (all on), whatever the
    // document holds; the document here holds them off. Writing the open document again
    // would change nothing, so the snapshot is "equal", in the list and in Compare.
    Rig rig;
    rig.app.documents.working() = document("02962000");
    rig.app.documents.working().Data.ModelName = kStandardModel;
    const fs::path root = fs::path(rig.dir.path().toStdString()) / "radios";
    const fs::path folder = root / "ZT-958FM_band0_V300_SN1";
    fs::create_directories(folder);
    Snapshot s;
    s.time = 1000000000;
    s.kind = SnapshotKind::Written;
    s.document = rig.app.documents.working();
    ASSERT_EQ(s.document.findChannel(405)->FmPower, 0);
    RadioDocument sent = s.document;
    RadioImage image;
    image.clear();
    ProgramState state;
    encodeDocument(sent, state, image);
    s.image.assign(image.bytes.begin(), image.bytes.end());
    const int slot405 = 405 * 16;
    ASSERT_EQ(s.image[static_cast<std::size_t>(slot405 + 5)], 0x7B);
    const std::vector<std::uint8_t> bytes = snapshotFileBytes(s);
    std::ofstream(folder / "written.snapshot", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    SecondClock clock;
    SnapshotStore store(root, clock);
    BackupsDialog dialog(rig.app, store);
    ASSERT_EQ(dialog.snapshotTable()->rowCount(), 1);
    EXPECT_EQ(dialog.snapshotTable()->item(0, 1)->text(), "written");
    dialog.fillDifferences(1);
    EXPECT_EQ(dialog.snapshotTable()->item(0, 2)->text().toStdString(), "equal");
}

TEST(CompareWithFile, TheFileDialogIsTitledWithTheMenuCaptionWithoutItsAccelerator)
{
    // The Chinese caption "与文件比较(&M)..." carries its accelerator in brackets.
    Rig rig;
    rig.app.texts.setLanguage(2);
    QWidget owner;
    QMenu file;
    QMenu program;
    addHistoryItems(file, program, rig.app, &owner, HistoryHooks{[] {}, {}, {}, {}, {}});
    rig.prompt.files = {std::nullopt};
    file.findChild<QAction*>("mnuFileCompare")->trigger();
    ASSERT_EQ(rig.prompt.fileRequests.size(), 1u);
    EXPECT_EQ(rig.prompt.fileRequests[0].title.toStdString(), "与文件比较");
}

}  // namespace
}  // namespace zt::gui
