// The production line against several virtual radios at once, on a virtual
// clock: every port runs its own cycle, and what one radio does never holds
// up or spoils another.

#include "core/production/production_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "core/link/fresh_radio.h"
#include "core/link/virtual_link.h"
#include "core/radio/initial_values.h"

namespace zt {
namespace {

using namespace std::chrono_literals;

struct Bench {
    VirtualClock clock;
    std::vector<std::unique_ptr<VirtualRadio>> radios;
    std::vector<std::unique_ptr<EnginePort>> ports;
    std::unique_ptr<ProductionLine> line;
    bool finished = false;
    VersionTable versions{{{"V300", "V300"}}};

    VirtualRadio& addRadio(const std::string& serial)
    {
        FreshRadioOptions o;
        o.serialNumber = serial;
        radios.push_back(std::make_unique<VirtualRadio>(clock));
        radios.back()->memory() = freshRadioMemory(o);
        ports.push_back(std::make_unique<EnginePort>(clock, *radios.back(), 9600));
        return *radios.back();
    }

    void start(LineJob job, LineSettings settings = {})
    {
        std::vector<ProductionLine::Port> list;
        for (std::size_t i = 0; i < ports.size(); ++i)
            list.push_back({"P" + std::to_string(i), ports[i].get()});
        line = std::make_unique<ProductionLine>(
            std::move(job), std::move(settings), list, clock, clock,
            [](int id) { return "text " + std::to_string(id); }, &versions);
        line->onFinished = [this] { finished = true; };
        line->start();
    }

    void runFor(VirtualClock::Duration span) { clock.advance(span); }

    std::vector<const UnitRecord*> unitsOf(const std::string& port) const
    {
        std::vector<const UnitRecord*> v;
        for (const auto& u : line->units())
            if (u.port == port) v.push_back(&u);
        return v;
    }
};

LineJob dealerJob()
{
    LineJob job;
    ProgramState state;
    applyNewDocumentDefaults(job.document, state);
    job.state = state;
    job.writesDocument = true;
    job.documentName = "shop.dat";
    job.imageCrc = "0badc0de";
    InfoToolRecord info;
    info.ProgramPassword = "";
    info.DealerCode = "DL-7";
    info.StockInDate = "2026-12-01";
    info.SaleDate = "2026-12-09";
    info.Seller = "Bob";
    job.information = info;
    job.informationText = "dealer_code=DL-7";
    job.countedSerial = "2026120900000009";
    return job;
}

// The information block's dealer code field: 16 bytes at 0x3F00 + 192.
std::string dealerCodeIn(const VirtualRadio& radio)
{
    std::string s;
    for (int i = 0; i < 16; ++i) {
        const auto b = radio.memory()[0x3FC0 + i];
        if (b == 0x00 || b == 0xFF) break;
        s.push_back(static_cast<char>(b));
    }
    return s;
}

TEST(ProductionLine, FourPortsAtOnceEachRadioEndsOnItsOwnTerms)
{
    Bench b;
    VirtualRadio& good = b.addRadio("2026010100000001");
    VirtualRadio& wrongModel = b.addRadio("2026010100000002");
    VirtualRadio& late = b.addRadio("2026010100000003");
    VirtualRadio& pulled = b.addRadio("2026010100000004");
    // Identification bytes 0..5 at 0x21F0: another model's text.
    const char* other = "XR-100";
    for (int i = 0; i < 6; ++i)
        wrongModel.memory()[0x21F0 + i] = static_cast<std::uint8_t>(other[i]);
    FaultSettings lag;
    lag.lag = 0.3;
    lag.seed = 7;
    late.setFaults(lag);
    FaultSettings unplug;
    unplug.unplugAfterBlocks = 16 + 60;  // the identification's 16 reads, then part of the write
    pulled.setFaults(unplug);

    LineJob job = dealerJob();
    job.require.model = "ZT-958FM";
    LineSettings settings;
    settings.count = 4;
    // The first cable's adapter cannot be opened at first: said, then used once it can.
    b.ports[0]->failNextOpen("no such device");
    std::vector<std::string> problems;
    b.start(job, settings);
    b.line->onPortChanged = [&](std::size_t i) {
        if (i == 0) problems.push_back(b.line->status(0).portProblem);
    };
    b.runFor(120s);
    ASSERT_GE(problems.size(), 2u);
    EXPECT_NE(problems.front().find("no such device"), std::string::npos) << problems.front();
    EXPECT_EQ(std::count(problems.begin(), problems.end(), problems.front()), 1);

    ASSERT_TRUE(b.finished);
    ASSERT_EQ(b.line->units().size(), 4u);
    const auto p0 = b.unitsOf("P0");
    const auto p1 = b.unitsOf("P1");
    const auto p2 = b.unitsOf("P2");
    const auto p3 = b.unitsOf("P3");
    ASSERT_EQ(p0.size(), 1u);
    ASSERT_EQ(p1.size(), 1u);
    ASSERT_EQ(p2.size(), 1u);
    ASSERT_EQ(p3.size(), 1u);
    EXPECT_EQ(p0[0]->result, UnitResult::Done);
    EXPECT_EQ(dealerCodeIn(good), "DL-7");
    EXPECT_EQ(p0[0]->serialNumber, "2026010100000001");
    EXPECT_EQ(p0[0]->document, "shop.dat");

    // Refused before anything was written: not one block went to that radio.
    EXPECT_EQ(p1[0]->result, UnitResult::Refused);
    EXPECT_NE(p1[0]->error.find("XR-100"), std::string::npos) << p1[0]->error;
    EXPECT_EQ(wrongModel.counters().blockWrites, 0);
    EXPECT_EQ(p1[0]->document, "");

    EXPECT_EQ(p2[0]->result, UnitResult::Done) << p2[0]->error;
    EXPECT_GT(late.counters().lagged, 0);
    EXPECT_EQ(dealerCodeIn(late), "DL-7");

    EXPECT_EQ(p3[0]->result, UnitResult::Failed);
    EXPECT_FALSE(p3[0]->error.empty());
    EXPECT_NE(dealerCodeIn(pulled), "DL-7");

    // Two radios written: the counted serial went on once per radio written.
    std::set<std::string> counted{p0[0]->countedSerial, p2[0]->countedSerial};
    EXPECT_EQ(counted, (std::set<std::string>{"2026120900000009", "2026120900000010"}));
    const LineSummary s = b.line->summary();
    EXPECT_EQ(s.done, 2);
    EXPECT_EQ(s.failed, 2);
    EXPECT_EQ(s.skipped, 0);
}

TEST(ProductionLine, RadiosSwappedOnOnePortAreEachWrittenOnce)
{
    Bench b;
    VirtualRadio& radio = b.addRadio("2026010100000001");
    const RadioMemory first = radio.memory();
    FreshRadioOptions o;
    o.serialNumber = "2026010100000002";
    const RadioMemory second = freshRadioMemory(o);

    b.start(dealerJob());
    b.runFor(60s);
    ASSERT_EQ(b.line->units().size(), 1u);
    EXPECT_EQ(b.line->units()[0].result, UnitResult::Done);
    // Left on the cable, the radio is looked at again and again but never written twice.
    const int writes = radio.counters().blockWrites;
    b.runFor(60s);
    EXPECT_EQ(b.line->units().size(), 1u);
    EXPECT_EQ(radio.counters().blockWrites, writes);
    EXPECT_EQ(b.line->status(0).state, PortState::WaitingRemoval);

    // Swapped faster than the port looks: the other serial number is another radio.
    radio.memory() = second;
    b.runFor(60s);
    ASSERT_EQ(b.line->units().size(), 2u);
    EXPECT_EQ(b.line->units()[1].result, UnitResult::Done);
    EXPECT_EQ(b.line->units()[1].serialNumber, "2026010100000002");

    // The first radio comes back after a pause off the cable: skipped, not written.
    radio.setPlugged(false);
    b.runFor(5s);
    EXPECT_EQ(b.line->status(0).state, PortState::Waiting);
    radio.memory() = first;
    radio.setPlugged(true);
    const int before = radio.counters().blockWrites;
    b.runFor(60s);
    ASSERT_EQ(b.line->units().size(), 3u);
    EXPECT_EQ(b.line->units()[2].result, UnitResult::Skipped);
    EXPECT_EQ(radio.counters().blockWrites, before);
}

TEST(ProductionLine, StopEndsEveryPortAndLogsTheRadioBeingWritten)
{
    Bench b;
    VirtualRadio& resumed = b.addRadio("2026010100000001");
    VirtualRadio& writing = b.addRadio("2026010100000002");
    LineSettings settings;
    settings.skipSerials = {"2026010100000001"};
    b.start(dealerJob(), settings);
    // Run until the second radio is part-way through its document write.
    b.clock.runWhile([&] { return b.line->status(1).percent < 30; });
    b.line->stop();
    b.runFor(2s);

    EXPECT_TRUE(b.finished);
    ASSERT_EQ(b.line->units().size(), 2u);
    EXPECT_EQ(b.unitsOf("P0")[0]->result, UnitResult::Skipped);
    EXPECT_EQ(resumed.counters().blockWrites, 0);
    const UnitRecord& stopped = *b.unitsOf("P1")[0];
    EXPECT_EQ(stopped.result, UnitResult::Stopped);
    EXPECT_FALSE(stopped.error.empty());
    // END reached the radio: it left its programming mode.
    EXPECT_EQ(writing.mode(), RadioMode::Idle);
    EXPECT_GT(writing.counters().ends, 0);
    EXPECT_FALSE(b.ports[0]->isOpen());
    EXPECT_FALSE(b.ports[1]->isOpen());
}

}  // namespace
}  // namespace zt
