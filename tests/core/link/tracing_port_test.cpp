#include "core/link/tracing_port.h"

#include <gtest/gtest.h>

#include <sstream>

#include "link_rig.h"

namespace zt::test {
namespace {

struct TracedRead {
    explicit TracedRead(bool echo) : rig(9600, echo) {}

    std::vector<std::string> lines;
    Rig rig;
    TracingPort tracer{rig.port, rig.clock, [this](const std::string& l) { lines.push_back(l); }};
    TransferMachine machine{
        TransferDeps{tracer, rig.clock, rig.prompt, rig.password, rig.host,
                     VersionSwitch{&rig.table, {}, nullptr, {}, nullptr, nullptr}}};
};

double millisecondsOf(const std::string& line)
{
    return std::stod(line.substr(0, line.find(' ', line.find_first_not_of(' '))));
}

TEST(TracingPort, EveryByteEachWayOnePacketALineWithMilliseconds)
{
    for (bool echo : {false, true}) {
        TracedRead t(echo);
        t.machine.startRead();
        t.rig.run();
        t.tracer.flush();
        ASSERT_TRUE(t.rig.endedWith(TransferKind::Read, true));
        ASSERT_GT(t.lines.size(), 4u);
        // The confirmation opens and closes the port once before the transfer.
        EXPECT_NE(t.lines[0].find("open 9600 baud"), std::string::npos);
        EXPECT_NE(t.lines[1].find("close"), std::string::npos);
        std::size_t sentBytes = 0;
        std::size_t receivedBytes = 0;
        int commands = 0;
        double last = 0;
        for (const auto& line : t.lines) {
            const double ms = millisecondsOf(line);
            EXPECT_GE(ms, last) << line;
            last = ms;
            const auto arrow = line.find(" -> ");
            const auto back = line.find(" <- ");
            if (arrow != std::string::npos) {
                ++commands;
                sentBytes += (line.size() - arrow - 4 + 1) / 3;
            } else if (back != std::string::npos) {
                receivedBytes += (line.size() - back - 4 + 1) / 3;
            }
        }
        EXPECT_EQ(sentBytes, t.rig.port.bytesSent());
        EXPECT_EQ(receivedBytes, t.rig.port.bytesReceived());
        EXPECT_EQ(commands, 3 + kImageBlocks + 1);  // handshake, identify, password, blocks, END
        // The handshake and its answer, the answer on a line of its own.
        const auto hs = std::find_if(t.lines.begin(), t.lines.end(), [](const std::string& l) {
            return l.find("-> 50 52 4F 47 52 41 4D") != std::string::npos;
        });
        ASSERT_NE(hs, t.lines.end());
        const std::string expected = echo ? "<- 50 52 4F 47 52 41 4D 5A 54 06" : "<- 5A 54 06";
        EXPECT_NE((hs + 1)->find(expected), std::string::npos) << *(hs + 1);
        // Stamped when the first byte arrived: without echo the answer follows the 7
        // bytes sent and its own 3 at 9600 baud (over 10 ms); an echo starts at once.
        EXPECT_GE(millisecondsOf(*(hs + 1)) - millisecondsOf(*hs), echo ? 2.0 : 10.0);
    }
}

TEST(TracingPort, FailedOpenIsNotedWithItsReason)
{
    TracedRead t(false);
    t.rig.port.failNextOpen("no such device");
    t.machine.startRead();
    t.rig.run();
    ASSERT_EQ(t.lines.size(), 1u);
    EXPECT_NE(t.lines[0].find("open failed: no such device"), std::string::npos);
}

TEST(TracingPort, HexForm)
{
    EXPECT_EQ(hexBytes(Bytes{0x00, 0x0A, 0xFF, 'W'}), "00 0A FF 57");
    EXPECT_EQ(hexBytes(Bytes{}), "");
}

}  // namespace
}  // namespace zt::test
