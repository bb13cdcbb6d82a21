// The virtual radio's memory file: loading it, and saving it in the background
// while the host writes.
#include "apps/radio_sim/memory_file.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace zt {
namespace {

namespace fs = std::filesystem;

RadioMemory filled(std::uint8_t value)
{
    RadioMemory m{};
    m.fill(value);
    return m;
}

RadioMemory onDisk(const fs::path& file)
{
    RadioMemory m{};
    EXPECT_EQ(loadMemoryFile(file, m), MemoryFileLoad::Loaded);
    return m;
}

TEST(RadioMemoryFile, LoadTellsMissingAndForeignFilesApartAndKeepsTheMemory)
{
    test::TempDir dir;
    RadioMemory memory = filled(0x5A);
    EXPECT_EQ(loadMemoryFile(dir / "none.bin", memory), MemoryFileLoad::Missing);
    test::writeBytes(dir / "short.bin", std::string(memory.size() - 1, '\x11'));
    EXPECT_EQ(loadMemoryFile(dir / "short.bin", memory), MemoryFileLoad::WrongSize);
    test::writeBytes(dir / "long.bin", std::string(memory.size() + 1, '\x11'));
    EXPECT_EQ(loadMemoryFile(dir / "long.bin", memory), MemoryFileLoad::WrongSize);
    EXPECT_EQ(memory, filled(0x5A));

    ASSERT_TRUE(saveMemoryFile(dir / "radio.bin", filled(0xC3)));
    EXPECT_EQ(loadMemoryFile(dir / "radio.bin", memory), MemoryFileLoad::Loaded);
    EXPECT_EQ(memory, filled(0xC3));
    // No file asked for: nothing written, nothing failed.
    EXPECT_TRUE(saveMemoryFile({}, memory));
}

TEST(RadioMemorySaver, TheLatestSnapshotEndsOnDisk)
{
    test::TempDir dir;
    const fs::path file = dir / "radio.bin";
    MemorySaver saver(file);
    for (int i = 0; i < 50; ++i) saver.save(filled(static_cast<std::uint8_t>(i)));
    ASSERT_TRUE(saver.saveAndWait(filled(0xEE)));
    EXPECT_EQ(onDisk(file), filled(0xEE));
    EXPECT_EQ(saver.failedSaves(), 0u);
}

TEST(RadioMemorySaver, ASaveAskedForIsFinishedBeforeTheSaverGoes)
{
    test::TempDir dir;
    const fs::path file = dir / "radio.bin";
    {
        MemorySaver saver(file);
        saver.save(filled(0x42));
    }
    EXPECT_EQ(onDisk(file), filled(0x42));

    // Without a file the saver does nothing and reports no failure.
    MemorySaver none({});
    none.save(filled(1));
    EXPECT_TRUE(none.saveAndWait(filled(2)));
    EXPECT_EQ(none.failedSaves(), 0u);
}

TEST(RadioMemorySaver, AFailedSaveIsReportedNotPassedOffAsSaved)
{
    test::TempDir dir;
    const fs::path file = dir / "radio.bin";
    fs::create_directories(file);  // a folder where the file should go
    std::atomic<int> reported{0};
    MemorySaver saver(file, [&](const fs::path& failed) {
        EXPECT_EQ(failed, file);
        ++reported;
    });
    EXPECT_FALSE(saver.saveAndWait(filled(7)));
    EXPECT_EQ(saver.failedSaves(), 1u);
    EXPECT_EQ(reported.load(), 1);

    // Once the way is clear again, the next save succeeds.
    fs::remove(file);
    EXPECT_TRUE(saver.saveAndWait(filled(8)));
    EXPECT_EQ(onDisk(file), filled(8));
    EXPECT_EQ(saver.failedSaves(), 1u);
}

}  // namespace
}  // namespace zt
