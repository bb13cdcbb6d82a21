// Program > Write keeps the radio's contents first, shows what the write
// changes and asks; the backup can be turned off.

#include <QLabel>
#include <fstream>

#include "core/history/snapshot_store.h"
#include "gui/transfer/transfer_rig.h"

namespace zt::gui::test {
namespace {

class WriteBackup : public ProgramTransfer {
  protected:
    void SetUp() override
    {
        ProgramTransfer::SetUp();
        snapshots = fs::path(tmp.path().toStdString()) / "data" / "radios";
        main->transfers().setSnapshotRoot(snapshots);
        port.onSent = [this](const Bytes& bytes) {
            if (!bytes.empty() && bytes[0] == 'W') ++writePackets;
            if (bytes.size() >= 3 && bytes[0] == 'R' && bytes[1] == 0 && bytes[2] == 0)
                ++firstBlockReads;
        };
        // The radio holds channel 17.
        RadioDocument doc = app.documents.working();
        newChannel(doc, 17, "02755500");
        RadioImage image;
        image.clear();
        ProgramState state = app.state;
        encodeDocument(doc, state, image);
        const RadioMemory fresh = radio.memory();
        std::copy(image.bytes.begin(), image.bytes.end(), radio.memory().begin());
        for (int i = VirtualRadio::kIdentityAddress; i < VirtualRadio::kIdentityAddress + 14; ++i)
            radio.memory()[static_cast<std::size_t>(i)] = fresh[static_cast<std::size_t>(i)];
        radioBefore = radio.memory();
        // The open document: the radio's, as a read gives it, plus channel 33.
        std::copy_n(radio.memory().begin(), image.bytes.size(), image.bytes.begin());
        decodeImage(image, app.documents.working(), state);
        newChannel(app.documents.working(), 33, "02800000");
    }

    std::vector<fs::path> snapshotFiles() const
    {
        std::vector<fs::path> files;
        if (!fs::exists(snapshots)) return files;
        for (const auto& e : fs::recursive_directory_iterator(snapshots))
            if (e.path().extension() == ".snapshot") files.push_back(e.path());
        return files;
    }

    // Answers the write preview with the button of that name.
    void answerPreviewWith(const char* button)
    {
        prompt.modalHandler = [this, button](QDialog& d) {
            previewCounts = d.findChild<QLabel*>("LabelCounts")->text();
            d.findChild<QPushButton*>(button)->click();
            return d.result();
        };
    }

    fs::path snapshots;
    RadioMemory radioBefore;
    int writePackets = 0;
    int firstBlockReads = 0;
    QString previewCounts;
};

TEST_F(WriteBackup, KeepsTheRadiosBytesShowsThePreviewAndCancelSendsNoWritePacket)
{
    answerPreviewWith("CommandCancel");
    action("mnuWriteToRadio")->trigger();
    runToEnd();

    EXPECT_FALSE(lastSuccess);
    EXPECT_EQ(prompt.modalWindows, std::vector<QString>{"FrmWritePreview"});
    // Channel 33 comes.
    EXPECT_EQ(previewCounts, "1 channel and 0 settings will change.");
    EXPECT_TRUE(prompt.asked.empty());  // no read or write question of its own
    EXPECT_EQ(writePackets, 0);
    EXPECT_EQ(radio.memory(), radioBefore);
    const std::vector<fs::path> kept = snapshotFiles();
    ASSERT_EQ(kept.size(), 1u);
    const SnapshotLoad backup = SnapshotStore::load(kept[0]);
    ASSERT_TRUE(backup.snapshot) << backup.problem;
    EXPECT_EQ(backup.snapshot->kind, SnapshotKind::BeforeWrite);
    EXPECT_EQ(kept[0].parent_path().filename(), "ZT-958FM_band0_V300_SN2026010100000001");
    // Byte for byte what the radio held, its identification bytes included.
    ASSERT_EQ(backup.snapshot->image.size(), std::size_t{kImageSize});
    EXPECT_TRUE(std::equal(backup.snapshot->image.begin(), backup.snapshot->image.end(),
                           radioBefore.begin()));
    EXPECT_NE(backup.snapshot->document.findChannel(17), nullptr);
    EXPECT_EQ(backup.snapshot->document.findChannel(33), nullptr);

    // Write: the write goes, and the status bar names the backup.
    ends = 0;
    prompt.modalWindows.clear();
    answerPreviewWith("CommandWrite");
    action("mnuWriteToRadio")->trigger();
    runToEnd();
    EXPECT_TRUE(lastSuccess);
    EXPECT_EQ(prompt.askedIds(), std::vector<int>{9010});
    EXPECT_EQ(radio.counters().blockWrites, 580);
    ASSERT_EQ(snapshotFiles().size(), 3u);  // before write twice, written
    EXPECT_TRUE(main->statusHint().startsWith("The radio's previous contents are kept in " +
                                              QString::fromStdString(snapshots.string())))
        << main->statusHint().toStdString();
}

TEST_F(WriteBackup, ThePreviewLeavesOutWhatAWriteAlwaysStoresTheSameWay)
{
    // The open document holds channel 17 with power and modulation flags a write never sends
    // (the slot's flag byte is fixed) and AM/FM entries it always writes as 1.
    RadioDocument& doc = app.documents.working();
    ChannelRecord& c = *doc.findChannel(17);
    c.FmPower = c.FmPowerLock = c.AmPower = c.AmPowerLock = c.AmFm = c.AmFmLock = 0;
    for (auto& entries : doc.Data.Options.GroupAmFm) entries = {0, 0};
    answerPreviewWith("CommandCancel");
    action("mnuWriteToRadio")->trigger();
    runToEnd();
    // Only channel 33 comes.
    EXPECT_TRUE(previewCounts.startsWith("1 channel")) << previewCounts.toStdString();
    EXPECT_TRUE(previewCounts.contains(" 0 settings")) << previewCounts.toStdString();
}

TEST_F(WriteBackup, ABackupThatCannotBeKeptStopsTheWriteBeforeAnythingIsSent)
{
    // A file where the snapshot folder would have to be made.
    const fs::path blocked = fs::path(tmp.path().toStdString()) / "blocked";
    std::ofstream(blocked) << "not a folder";
    main->transfers().setSnapshotRoot(blocked / "radios");
    answerPreviewWith("CommandWrite");
    action("mnuWriteToRadio")->trigger();
    runToEnd();

    EXPECT_FALSE(lastSuccess);
    ASSERT_EQ(prompt.asked.size(), 1u);
    const std::string said = prompt.asked[0].message.text;
    EXPECT_EQ(said.rfind(app.text(9725).toStdString(), 0), 0u) << said;
    EXPECT_GT(said.size(), app.text(9725).toStdString().size() + 1) << "the reason is missing";
    EXPECT_TRUE(prompt.modalWindows.empty());  // no preview
    EXPECT_EQ(writePackets, 0);
    EXPECT_EQ(radio.memory(), radioBefore);
    EXPECT_EQ(main->statusHint(), "Nothing was written.");
}

TEST_F(WriteBackup, ARadioSwappedWhileThePreviewWaitsIsNotWritten)
{
    // While the preview is open the cable goes to another radio: the serial number in the
    // information block (0x3F00, serial at offset 48, its last digit at 0x3F3F) changes.
    prompt.modalHandler = [this](QDialog& d) {
        radio.memory()[0x3F3F] = '2';
        d.findChild<QPushButton*>("CommandWrite")->click();
        return d.result();
    };
    action("mnuWriteToRadio")->trigger();
    runToEnd();

    EXPECT_FALSE(lastSuccess);
    EXPECT_EQ(writePackets, 0);
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].message.text,
              "This is not the radio that was backed up (ZT-958FM, band 0, V300, serial number "
              "\"2026010100000001\"; now ZT-958FM, band 0, V300, serial number "
              "\"2026010100000002\"), so nothing was written.");
    RadioMemory expected = radioBefore;
    expected[0x3F3F] = '2';
    EXPECT_EQ(radio.memory(), expected);

    // The same serial number on a radio of another firmware version is another radio too.
    prompt.asked.clear();
    ends = 0;
    prompt.modalHandler = [this](QDialog& d) {
        radio.memory()[VirtualRadio::kIdentityAddress + 11] = '1';  // V300 -> V301
        d.findChild<QPushButton*>("CommandWrite")->click();
        return d.result();
    };
    action("mnuWriteToRadio")->trigger();
    runToEnd();
    EXPECT_FALSE(lastSuccess);
    EXPECT_EQ(writePackets, 0);
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_NE(prompt.asked[0].message.text.find("V301"), std::string::npos)
        << prompt.asked[0].message.text;
}

TEST_F(WriteBackup, TurnedOffTheWriteReadsNothingFirstAndTheChoiceIsKept)
{
    turnBackupOff();
    action("mnuWriteToRadio")->trigger();
    runToEnd();

    EXPECT_TRUE(lastSuccess);
    EXPECT_EQ(firstBlockReads, 0);  // the radio's memory was not read
    EXPECT_TRUE(prompt.modalWindows.empty());
    EXPECT_EQ(prompt.askedIds(), (std::vector<int>{9005, 9010}));
    EXPECT_EQ(radio.counters().blockWrites, 580);
    // What was written is still kept.
    const std::vector<fs::path> kept = snapshotFiles();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(SnapshotStore::load(kept[0]).snapshot->kind, SnapshotKind::Written);

    // The next start of the program finds the backup off.
    MainWindow again(app);
    again.setPositionStore(
        QString::fromStdString((fs::path(tmp.path().toStdString()) / "pos.ini").string()));
    again.useLink(port, clock);
    again.formLoad();
    EXPECT_FALSE(again.findChild<QAction*>("mnuBackupBeforeWrite")->isChecked());
    EXPECT_FALSE(again.transfers().backupBeforeWrite());
}

TEST_F(WriteBackup, AfterAReadOfThisRadioThatReadIsTheBackup)
{
    action("mnuReadFromRadio")->trigger();
    runToEnd();
    ASSERT_TRUE(lastSuccess);
    ASSERT_EQ(snapshotFiles().size(), 1u);
    const fs::path read = snapshotFiles()[0];
    EXPECT_EQ(main->statusHint().toStdString(), "The read is kept in " + read.string());
    newChannel(app.documents.working(), 33, "02800000");

    ends = 0;
    answerPreviewWith("CommandWrite");
    action("mnuWriteToRadio")->trigger();
    runToEnd();
    EXPECT_TRUE(lastSuccess);
    EXPECT_EQ(firstBlockReads, 1);  // the read's only
    EXPECT_EQ(previewCounts, "1 channel and 0 settings will change.");
    EXPECT_EQ(prompt.askedIds(), (std::vector<int>{9004, 9009, 9010}));
    EXPECT_EQ(snapshotFiles().size(), 2u);  // the read and what was written
    EXPECT_EQ(main->statusHint().toStdString(),
              "The radio's previous contents are kept in " + read.string());
}

TEST_F(WriteBackup, CompareWithRadioLeavesTheOpenDocumentAsItIs)
{
    const RadioDocument open = app.documents.working();
    const bool untitled = app.documents.isUntitled();
    answerPreviewWith("CommandClose");
    action("mnuCompareWithRadio")->trigger();
    runToEnd();
    EXPECT_TRUE(lastSuccess);
    EXPECT_EQ(prompt.modalWindows, std::vector<QString>{"FrmComparison"});
    EXPECT_EQ(previewCounts, "1 channel and 0 settings differ.");
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_NE(app.documents.working().findChannel(33), nullptr);
    EXPECT_EQ(app.documents.working().Data.ChannelCount, open.Data.ChannelCount);
    EXPECT_EQ(app.documents.isUntitled(), untitled);
    EXPECT_EQ(radio.counters().blockWrites, 0);
}

TEST_F(WriteBackup, RestoreWritesTheSnapshotByteForByteButKeepsTheRadiosIdentification)
{
    Snapshot snapshot;
    snapshot.kind = SnapshotKind::BeforeWrite;
    snapshot.image.assign(radioBefore.begin(), radioBefore.begin() + kImageSize);
    snapshot.image[0x0010] = 0x5A;  // a byte no document write would give
    // Another radio's version and flags: the written radio keeps its own.
    for (int i = 8695; i < 8702; ++i) snapshot.image[static_cast<std::size_t>(i)] = 0x33;
    RadioImage image;
    std::copy(snapshot.image.begin(), snapshot.image.end(), image.bytes.begin());
    ProgramState state;
    decodeImage(image, snapshot.document, state);

    // Another band is refused before anything is sent.
    Snapshot otherBand = snapshot;
    otherBand.image[8694] = 8;
    answerPreviewWith("CommandWrite");
    main->transfers().restore(otherBand);
    runToEnd();
    EXPECT_FALSE(lastSuccess);
    EXPECT_EQ(prompt.asked.at(0).message.text, app.text(9729).toStdString());
    EXPECT_EQ(writePackets, 0);

    ends = 0;
    prompt.asked.clear();
    main->transfers().restore(snapshot);
    runToEnd();
    EXPECT_TRUE(lastSuccess);
    EXPECT_EQ(prompt.askedIds(), std::vector<int>{9010});
    for (int i = 0; i < kImageSize; ++i) {
        const bool identity = i >= 8695 && i < 8702;
        const std::uint8_t expected = identity ? radioBefore[static_cast<std::size_t>(i)]
                                               : snapshot.image[static_cast<std::size_t>(i)];
        ASSERT_EQ(radio.memory()[static_cast<std::size_t>(i)], expected) << "byte " << i;
    }
}

}  // namespace
}  // namespace zt::gui::test
