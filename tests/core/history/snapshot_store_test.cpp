#include "core/history/snapshot_store.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <thread>

#include "core/radio/channel_edit.h"
#include "support/temp_dir.h"

namespace zt {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

class FixedClock final : public WallClock {
  public:
    std::int64_t now = 1000000000;  // 2001-09-09 01:46:40 UTC
    std::int64_t secondsSinceEpoch() const override { return now; }
};

const RadioIdentity kRadio{"ZT-958FM", 0, "V300", ""};

std::vector<std::uint8_t> image()
{
    std::vector<std::uint8_t> bytes(9280, 0xFF);
    bytes[16] = 0x25;
    bytes[9279] = 0x01;
    return bytes;
}

RadioDocument document()
{
    RadioDocument doc;
    newChannel(doc, 405, "02962000");
    doc.Data.Messages[0] = "HELLO";
    return doc;
}

std::vector<std::uint8_t> fileBytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeBytes(const fs::path& p, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

TEST(SnapshotStore, KeepsRawBytesAndDocumentAndRefusesADamagedOrEditedFile)
{
    TempDir dir;
    FixedClock clock;
    SnapshotStore store(dir.path() / "radios", clock);
    const std::vector<std::uint8_t> ident = {0x06, 'Z', 'T', '-', '9', '5', '8', 0x01};
    const SnapshotSaved saved =
        store.store(SnapshotKind::BeforeWrite, kRadio, image(), ident, document(), "3.0.0");
    ASSERT_TRUE(saved.problem.empty()) << saved.problem;
    EXPECT_EQ(saved.file, dir.path() / "radios" / "ZT-958FM_band0_V300" /
                              "20010909T014640Z_before-write.snapshot");

    const std::vector<std::uint8_t> bytes = fileBytes(saved.file);
    const std::string head(bytes.begin(), bytes.begin() + 100);
    EXPECT_EQ(head.rfind("ZTP958FM snapshot 1\ntime 1000000000\nutc 2001-09-09 01:46:40 UTC\n"
                         "kind before-write\nprogram 3.0.0\n",
                         0),
              0u)
        << head;
    // Image, reply, a 1663-byte record and one 90-byte channel follow the header.
    ASSERT_GT(bytes.size(), 9280u + 8 + 1663 + 90);
    const std::size_t payload = bytes.size() - (9280 + 8 + 1663 + 90);
    EXPECT_EQ(bytes[payload + 16], 0x25);
    EXPECT_EQ(bytes[payload + 9280], 0x06);

    const SnapshotLoad loaded = SnapshotStore::load(saved.file);
    ASSERT_TRUE(loaded.snapshot) << loaded.problem;
    EXPECT_EQ(loaded.snapshot->image, image());
    EXPECT_EQ(loaded.snapshot->identification, ident);
    EXPECT_EQ(loaded.snapshot->kind, SnapshotKind::BeforeWrite);
    EXPECT_EQ(loaded.snapshot->identity, kRadio);
    EXPECT_EQ(loaded.snapshot->document.Data.ChannelCount, 1);
    EXPECT_EQ(loaded.snapshot->document.Channels[0].RxFre.cut(), "02962000");

    // One byte of the image changed: refused, and the reason says why.
    std::vector<std::uint8_t> damaged = bytes;
    damaged[payload + 100] ^= 0x01;
    writeBytes(saved.file, damaged);
    SnapshotLoad refused = SnapshotStore::load(saved.file);
    EXPECT_FALSE(refused.snapshot);
    EXPECT_NE(refused.problem.find("checksum"), std::string::npos) << refused.problem;
    // The kind edited in the header is refused the same way.
    std::vector<std::uint8_t> edited = bytes;
    const std::string from = "kind before-write\nprogram";
    const auto at = std::search(edited.begin(), edited.end(), from.begin(), from.end());
    ASSERT_NE(at, edited.end());
    std::copy_n(std::string("kind written     \nprogram").begin(), from.size(), at);
    writeBytes(saved.file, edited);
    EXPECT_FALSE(SnapshotStore::load(saved.file).snapshot);
    // Cut short.
    writeBytes(saved.file, std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 1));
    refused = SnapshotStore::load(saved.file);
    EXPECT_FALSE(refused.snapshot);
    EXPECT_FALSE(refused.problem.empty());
}

TEST(SnapshotStore, WritersAtTheSameTimeNeverReplaceEachOthersFiles)
{
    TempDir dir;
    FixedClock clock;  // every snapshot in the same second
    const fs::path root = dir.path() / "radios";
    SnapshotStore first(root, clock);
    SnapshotStore second(root, clock);
    std::vector<fs::path> files[2];
    const auto writer = [&](SnapshotStore& store, int index) {
        for (int i = 0; i < 40; ++i) {
            RadioDocument doc = document();
            doc.Data.Options.SquelchLevel = static_cast<std::int16_t>(index * 100 + i);
            const SnapshotSaved saved =
                store.store(SnapshotKind::Read, kRadio, image(), {}, doc, "3.0.0");
            if (!saved.file.empty()) files[index].push_back(saved.file);
        }
    };
    std::thread a(writer, std::ref(first), 0);
    std::thread b(writer, std::ref(second), 1);
    a.join();
    b.join();
    ASSERT_EQ(files[0].size(), 40u);
    ASSERT_EQ(files[1].size(), 40u);
    std::set<fs::path> names(files[0].begin(), files[0].end());
    names.insert(files[1].begin(), files[1].end());
    EXPECT_EQ(names.size(), 80u);
    // Each file still holds what its own writer stored.
    for (int w = 0; w < 2; ++w)
        for (int i = 0; i < 40; ++i) {
            const SnapshotLoad l = SnapshotStore::load(files[w][static_cast<std::size_t>(i)]);
            ASSERT_TRUE(l.snapshot) << l.problem;
            EXPECT_EQ(l.snapshot->document.Data.Options.SquelchLevel, w * 100 + i);
        }
    EXPECT_EQ(first.list("ZT-958FM_band0_V300").size(), 80u);
}

TEST(SnapshotStore, RetentionKeepsTheLastYearAndTheNewestTwentyAndNothingElse)
{
    TempDir dir;
    FixedClock clock;
    SnapshotStore store(dir.path() / "radios", clock);
    const std::int64_t day = 86400;
    const std::int64_t now = clock.now + 800 * day;
    // 22 snapshots from 400 days before `now`, one an hour, then 3 of today.
    for (int i = 0; i < 22; ++i) {
        clock.now = now - 400 * day + i * 3600;
        ASSERT_TRUE(store.store(SnapshotKind::Read, kRadio, image(), {}, document(), "3.0.0")
                        .problem.empty());
    }
    clock.now = now - 2;
    store.store(SnapshotKind::BeforeWrite, kRadio, image(), {}, document(), "3.0.0");
    clock.now = now - 1;
    store.store(SnapshotKind::Written, kRadio, image(), {}, document(), "3.0.0");
    clock.now = now;
    const SnapshotSaved last =
        store.store(SnapshotKind::Read, kRadio, image(), {}, document(), "3.0.0");
    // 25 stored: the newest 20 stay, the 5 oldest (older than a year) went, 2 of them now.
    const std::vector<SnapshotInfo> kept = store.list("ZT-958FM_band0_V300");
    ASSERT_EQ(kept.size(), 20u);
    EXPECT_EQ(kept.front().time, now);
    EXPECT_EQ(kept.back().time, now - 400 * day + 5 * 3600);
    EXPECT_EQ(last.removed.size(), 1u);

    // Keep everything: no snapshot goes any more, and the rule reads back as written.
    std::string problem;
    ASSERT_TRUE(store.setRetention({0, 20}, problem)) << problem;
    EXPECT_EQ(store.retention().keepDays, 0);
    clock.now = now + 1;
    EXPECT_TRUE(
        store.store(SnapshotKind::Read, kRadio, image(), {}, document(), "3.0.0").removed.empty());
    EXPECT_EQ(store.list("ZT-958FM_band0_V300").size(), 21u);

    // Keep two weeks and at least 3: of 21 snapshots only those younger than 14 days stay (4).
    ASSERT_TRUE(store.setRetention({14, 3}, problem)) << problem;
    EXPECT_EQ(store.applyRetention("ZT-958FM_band0_V300").size(), 17u);
    EXPECT_EQ(store.list("ZT-958FM_band0_V300").size(), 4u);
}

TEST(SnapshotStore, AFolderThatCannotBeWrittenIsReportedAndNothingIsStored)
{
    TempDir dir;
    FixedClock clock;
    writeBytes(dir.path() / "file", {1});
    SnapshotStore store(dir.path() / "file" / "radios", clock);
    const SnapshotSaved saved =
        store.store(SnapshotKind::BeforeWrite, kRadio, image(), {}, document(), "3.0.0");
    EXPECT_TRUE(saved.file.empty());
    EXPECT_NE(saved.problem.find("cannot create"), std::string::npos) << saved.problem;

    SnapshotStore nowhere({}, clock);
    EXPECT_FALSE(nowhere.store(SnapshotKind::Read, kRadio, image(), {}, document(), "3.0.0")
                     .problem.empty());
    const auto env = [](const char* name) -> const char* {
        return std::string(name) == "XDG_DATA_HOME" ? "relative/path"
               : std::string(name) == "HOME"        ? "/home/u"
                                                    : nullptr;
    };
    EXPECT_EQ(defaultSnapshotRoot(env), fs::path("/home/u/.local/share/ztp958fm/radios"));
}

}  // namespace
}  // namespace zt
