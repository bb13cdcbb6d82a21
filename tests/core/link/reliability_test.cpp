#include <gtest/gtest.h>

#include <iostream>
#include <random>

#include "link_rig.h"

namespace zt::test {
namespace {

using std::chrono::milliseconds;

// Each 16-byte block of the image is either still untouched (0xFF) or exactly
// the radio's: a block that arrived with a bad checksum was never stored.
void expectOnlyRadioBlocks(const RadioImage& image, const RadioMemory& memory)
{
    const int identityBlock = img::Identity / kBlockSize;  // also gets the identification copy
    for (int b = 0; b < kImageBlocks; ++b) {
        if (b == identityBlock) continue;
        const auto first = image.bytes.begin() + b * kBlockSize;
        const bool untouched =
            std::all_of(first, first + kBlockSize, [](auto x) { return x == 0xFF; });
        const bool radios = std::equal(first, first + kBlockSize, memory.begin() + b * kBlockSize);
        EXPECT_TRUE(untouched || radios) << "block " << b;
    }
}

TEST(Reliability, SeededTransfersAgainstFaultsNeverSucceedWithWrongData)
{
    int successes = 0;
    int failures = 0;
    for (std::uint64_t seed = 1; seed <= 100; ++seed) {
        const bool write = seed % 2 == 0;
        Rig rig(/*baud=*/0, /*echo=*/seed % 3 == 0);
        rig.radio.setFaults({0.05, 0.05, 0.05, seed});
        rig.prompt.script[msg::TransferFailed] = {Answer::Ok, Answer::Ok, Answer::Cancel};
        // A write sends something different from what the radio holds.
        rig.host.doc.Data.Messages[1] = FixedText<16>("SEED" + std::to_string(seed));
        const RadioMemory original = rig.radio.memory();
        write ? rig.machine.startWrite() : rig.machine.startRead();
        rig.run();
        ASSERT_FALSE(rig.host.ended.empty()) << "seed " << seed;
        const bool ok = rig.host.ended.back().second;
        if (ok) {
            ++successes;
            if (write) {
                EXPECT_EQ(imagePart(rig.radio.memory()), imageBytes(rig.machine.image()))
                    << "seed " << seed;
                EXPECT_EQ(rig.radio.memory()[img::MessageLines + 16], 'S');
            } else {
                EXPECT_EQ(imageBytes(rig.machine.image()), imagePart(original)) << "seed " << seed;
                EXPECT_EQ(rig.host.replacedWith.size(), 1u);
            }
        } else {
            ++failures;
            EXPECT_EQ(rig.prompt.ids().back(), msg::TransferFailed) << "seed " << seed;
            if (!write) expectOnlyRadioBlocks(rig.machine.image(), original);
            EXPECT_TRUE(rig.host.replacedWith.empty());
        }
    }
    EXPECT_EQ(successes + failures, 100);
    EXPECT_GT(successes, 50);
}

// The same soak with late answers among the faults: a success always leaves
// exactly the expected image, in the radio after a write and in the program
// after a read.
TEST(Reliability, LateAnswersAmongFaultsNeverGiveAFalseSuccess)
{
    int successes = 0;
    int falseSuccesses = 0;
    int lateAnswers = 0;
    for (std::uint64_t seed = 1; seed <= 100; ++seed) {
        const bool write = seed % 2 == 0;
        Rig rig(/*baud=*/9600, /*echo=*/seed % 4 < 2);
        // Byte by byte, as on a real line: two answers due together still come
        // as two deliveries, so one can be mistaken for the other.
        rig.port.setBytewise(true);
        FaultSettings faults;
        faults.drop = 0.01;
        faults.corrupt = 0.01;
        faults.refuse = 0.02;
        faults.lag = 0.03;
        // Every third transfer's late answers come even after the extra wait.
        faults.lagMs = seed % 3 == 0 ? 800 : 200;
        faults.seed = seed;
        rig.radio.setFaults(faults);
        rig.prompt.script[msg::TransferFailed] = {Answer::Ok, Answer::Ok, Answer::Cancel};
        rig.host.doc.Data.Messages[1] = FixedText<16>("LAG" + std::to_string(seed));
        const RadioMemory original = rig.radio.memory();
        write ? rig.machine.startWrite() : rig.machine.startRead();
        rig.run();
        lateAnswers += rig.radio.counters().lagged;
        ASSERT_FALSE(rig.host.ended.empty()) << "seed " << seed;
        if (!rig.host.ended.back().second) continue;
        ++successes;
        const bool exact = write ? imagePart(rig.radio.memory()) == imageBytes(rig.machine.image())
                                 : imageBytes(rig.machine.image()) == imagePart(original);
        falseSuccesses += !exact;
        EXPECT_TRUE(exact) << "seed " << seed;
    }
    std::cout << "soak with late answers: 100 transfers, " << lateAnswers
              << " late answers injected, " << successes << " succeeded, " << falseSuccesses
              << " false successes\n";
    EXPECT_EQ(falseSuccesses, 0);
    EXPECT_GT(lateAnswers, 1000);
    EXPECT_GT(successes, 80);
}

TEST(Reliability, RandomBytesOnTheLineNeverStoreABadBlock)
{
    for (std::uint64_t seed = 1; seed <= 10; ++seed) {
        Rig rig(/*baud=*/9600);
        rig.machine.setNoEcho(true);
        std::mt19937 rng(static_cast<unsigned>(seed));
        rig.prompt.script[msg::TransferFailed] = {Answer::Ok, Answer::Ok, Answer::Cancel};
        // Noise bursts arrive among the radio's answers every few milliseconds.
        std::function<void()> noise = [&] {
            if (!rig.machine.busy()) return;
            Bytes b(1 + rng() % 30);
            for (auto& x : b) x = static_cast<std::uint8_t>(rng() % 3 == 0 ? 'W' : rng());
            rig.machine.onReceived(b);
            // Dense noise for the first seeds (most of them fail), sparse for the rest.
            const unsigned gap = seed <= 5 ? 5 + rng() % 60 : 20 + rng() % 300;
            rig.clock.post(milliseconds(gap), noise);
        };
        rig.machine.startRead();
        rig.clock.runWhile([&] { return rig.prompt.asked.empty(); });  // the confirmation
        rig.clock.post(milliseconds(1), noise);
        rig.run();
        ASSERT_FALSE(rig.host.ended.empty());
        if (rig.host.ended.back().second) {
            EXPECT_EQ(imageBytes(rig.machine.image()), imagePart(rig.radio.memory()));
        } else {
            expectOnlyRadioBlocks(rig.machine.image(), rig.radio.memory());
        }
    }
}

// A radio busy writing its memory answers write packets and their repeats up
// to two seconds late, among refusals, drops and corrupted read answers. A
// write that says "complete" has left the radio holding exactly the image;
// every other write fails with the failure message.
TEST(Reliability, WritesWithAnswersUpToTwoSecondsLateNeverEndCompleteOverWrongData)
{
    int successes = 0;
    int falseSuccesses = 0;
    int lateAnswers = 0;
    for (std::uint64_t seed = 1; seed <= 100; ++seed) {
        Rig rig(/*baud=*/9600, /*echo=*/seed % 2 == 0);
        rig.port.setBytewise(seed % 4 < 2);
        FaultSettings faults;
        faults.drop = 0.01;
        faults.corrupt = 0.02;
        faults.refuse = 0.04;
        faults.lag = 0.02 + 0.02 * static_cast<double>(seed % 4);
        faults.lagMs = 600 + static_cast<int>((seed * 137) % 1401);  // 600..2000 ms
        faults.seed = seed;
        rig.radio.setFaults(faults);
        rig.prompt.script[msg::TransferFailed] = {Answer::Ok, Answer::Cancel};
        std::mt19937 rng(static_cast<unsigned>(seed));
        for (int i = 0; i < 8; ++i)
            rig.host.doc.Data.Messages[static_cast<std::size_t>(i % 4)] =
                FixedText<16>("W" + std::to_string(rng()));
        rig.machine.startWrite();
        rig.run();
        lateAnswers += rig.radio.counters().lagged;
        ASSERT_FALSE(rig.host.ended.empty()) << "seed " << seed;
        if (!rig.host.ended.back().second) {
            EXPECT_EQ(rig.prompt.ids().back(), msg::TransferFailed) << "seed " << seed;
            continue;
        }
        ++successes;
        const bool exact = imagePart(rig.radio.memory()) == imageBytes(rig.machine.image());
        falseSuccesses += !exact;
        EXPECT_TRUE(exact) << "seed " << seed;
    }
    std::cout << "write soak with answers up to 2 s late: 100 writes, " << lateAnswers
              << " late answers, " << successes << " complete, " << falseSuccesses
              << " false successes\n";
    EXPECT_EQ(falseSuccesses, 0);
    EXPECT_GT(lateAnswers, 1000);
    EXPECT_GT(successes, 50);
}

}  // namespace
}  // namespace zt::test
