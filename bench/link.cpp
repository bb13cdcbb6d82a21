// Full read and write transfers through the virtual radio's engine.
//
// BM_EngineReadBlocks is the baseline: the engine answering the 580 block
// reads directly, with no transfer machine, port or clock. The transfer
// benchmarks run the whole step machine on an unpaced virtual line; the
// difference per block is the machine's overhead. The paced variants run on
// a virtual 9600-baud line and report the virtual transfer time against the
// line-rate time of the bytes on the wire (10 bits per byte).

#include <benchmark/benchmark.h>

#include <functional>

#include "core/link/fresh_radio.h"
#include "core/link/transfer.h"
#include "core/link/virtual_link.h"
#include "core/radio/initial_values.h"

namespace zt {
namespace {

class AlwaysOk final : public AsyncPrompt {
  public:
    explicit AlwaysOk(VirtualClock& c) : clock_(c) {}
    void ask(const Message&, std::function<void(Answer)> answered) override
    {
        clock_.post(std::chrono::microseconds(0), [answered] { answered(Answer::Ok); });
    }

  private:
    VirtualClock& clock_;
};

class NoPassword final : public ProgramPassword {
  public:
    std::string enteredPassword() const override { return {}; }
    bool windowShown() const override { return false; }
    void showWindow(std::function<void()> closed) override { closed(); }
};

class Host final : public TransferHost {
  public:
    Host() { applyNewDocumentDefaults(doc, state); }
    RadioDocument& document() override { return doc; }
    ProgramState& programState() override { return state; }
    void showProgress(TransferKind) override {}
    void setProgress(int) override {}
    void closeProgress() override {}
    void closeAllDocumentWindows() override {}
    void documentRead(RadioDocument, const std::string&) override {}
    void showRadioInformation() override {}
    void endProgram() override {}
    void transferEnded(TransferKind, bool success) override
    {
        done = true;
        ok = success;
    }
    RadioDocument doc;
    ProgramState state;
    bool done = false;
    bool ok = false;
};

struct Line {
    explicit Line(int baud, bool echo)
        : port(clock, radio, baud),
          prompt(clock),
          machine(TransferDeps{port, clock, prompt, password, host, versions()})
    {
        table.pairs = {{"V300", "V300"}};
        radio.memory() = freshRadioMemory();
        radio.setEcho(echo);
        machine.setNoEcho(!echo);
    }
    VersionSwitch versions()
    {
        VersionSwitch v;
        v.table = &table;
        return v;
    }
    // Runs one transfer; returns the virtual time from the first byte to the end.
    std::chrono::microseconds run(bool write)
    {
        host.done = false;
        write ? machine.startWrite() : machine.startRead();
        clock.runWhile([this] { return port.bytesSent() == 0; });
        const auto start = clock.now();
        clock.runWhile([this] { return !host.done; });
        return clock.now() - start;
    }

    VirtualClock clock;
    VirtualRadio radio{clock};
    EnginePort port;
    AlwaysOk prompt;
    NoPassword password;
    Host host;
    VersionTable table;
    TransferMachine machine;
};

void BM_EngineReadBlocks(benchmark::State& state)
{
    VirtualClock clock;
    VirtualRadio radio(clock);
    radio.memory() = freshRadioMemory();
    const Bytes program = handshakeCommand();
    Bytes out;
    for (auto _ : state) {
        out.clear();
        radio.receive(program, out);
        for (int a = 0; a < kImageSize; a += kBlockSize) {
            const Bytes cmd = readBlockCommand(a);
            out.clear();
            radio.receive(cmd, out);
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * kImageBlocks);
}
BENCHMARK(BM_EngineReadBlocks)->Unit(benchmark::kMillisecond);

void BM_Transfer(benchmark::State& state)
{
    const bool write = state.range(0) != 0;
    const bool echo = state.range(1) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        Line line(0, echo);
        state.ResumeTiming();
        line.run(write);
        if (!line.host.ok) state.SkipWithError("transfer failed");
    }
    state.SetItemsProcessed(state.iterations() * kImageBlocks);
    state.SetLabel(std::string(write ? "write" : "read") + (echo ? " echo" : ""));
}
BENCHMARK(BM_Transfer)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

// Virtual time of a transfer on a 9600-baud line against its line-rate time.
void BM_PacedVirtualTime(benchmark::State& state)
{
    const bool write = state.range(0) != 0;
    const bool echo = state.range(1) != 0;
    double virtualSeconds = 0;
    double lineSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Line line(9600, echo);
        state.ResumeTiming();
        virtualSeconds = std::chrono::duration<double>(line.run(write)).count();
        if (!line.host.ok) state.SkipWithError("transfer failed");
        // The radio's answers without the echo, plus what the program sent.
        const std::uint64_t sent = line.port.bytesSent();
        const std::uint64_t answered = line.port.bytesReceived() - (echo ? sent : 0);
        lineSeconds = double(sent + answered) * 10.0 / 9600.0;
    }
    state.counters["virtual_s"] = virtualSeconds;
    state.counters["line_s"] = lineSeconds;
    state.counters["ratio"] = virtualSeconds / lineSeconds;
    state.SetLabel(std::string(write ? "write" : "read") + (echo ? " echo" : ""));
}
BENCHMARK(BM_PacedVirtualTime)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
}  // namespace zt

BENCHMARK_MAIN();
