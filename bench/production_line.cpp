// Radios per hour of the production line with 1, 2 and 4 cables, on virtual
// radios paced at 9600 baud (the virtual clock's time, so the figures are
// the line's own and not this machine's), with an operator who takes a
// finished radio away after 2 s and connects the next 3 s later. The ratio
// of 4 cables to 1 shows how well the ports run side by side; the real time
// per virtual hour is the processor's share of driving the line.
//
// Run: build/release/bench/bench_production_line

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

#include "core/link/fresh_radio.h"
#include "core/link/virtual_link.h"
#include "core/production/production_line.h"
#include "core/radio/initial_values.h"

namespace zt {
namespace {

using namespace std::chrono_literals;

std::map<int, double> g_radiosPerHour;

struct Cable {
    std::unique_ptr<VirtualRadio> radio;
    std::unique_ptr<EnginePort> port;
};

double runLine(int cables, VirtualClock::Duration span)
{
    VirtualClock clock;
    std::vector<Cable> bench(static_cast<std::size_t>(cables));
    int nextSerial = 1;
    auto freshMemory = [&nextSerial] {
        FreshRadioOptions o;
        char serial[17];
        std::snprintf(serial, sizeof serial, "20260101%08d", nextSerial++);
        o.serialNumber = serial;
        return freshRadioMemory(o);
    };
    std::vector<ProductionLine::Port> ports;
    for (auto& c : bench) {
        c.radio = std::make_unique<VirtualRadio>(clock);
        c.radio->memory() = freshMemory();
        c.port = std::make_unique<EnginePort>(clock, *c.radio, 9600);
        ports.push_back({"P", c.port.get()});
    }
    LineJob job;
    applyNewDocumentDefaults(job.document, job.state);
    job.writesDocument = true;
    InfoToolRecord info;
    info.DealerCode = "DL-7";
    job.information = info;
    VersionTable versions{{{"V300", "V300"}}};
    ProductionLine line(job, {}, ports, clock, clock, {}, &versions);
    // The operator: a finished radio is taken away and the next one connected.
    line.onPortChanged = [&](std::size_t i) {
        if (line.status(i).state != PortState::WaitingRemoval) return;
        VirtualRadio& radio = *bench[i].radio;
        clock.post(2s, [&radio] { radio.setPlugged(false); });
        clock.post(5s, [&radio, &freshMemory] {
            radio.memory() = freshMemory();
            radio.setPlugged(true);
        });
    };
    line.start();
    clock.advance(span);
    line.stop();
    return line.summary().radiosPerHour();
}

void BM_ProductionLine(benchmark::State& state)
{
    const int cables = static_cast<int>(state.range(0));
    double perHour = 0;
    for (auto _ : state) perHour = runLine(cables, 1h);
    state.counters["radios_per_hour"] = perHour;
    g_radiosPerHour[cables] = perHour;
}
BENCHMARK(BM_ProductionLine)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace zt

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const auto& r = zt::g_radiosPerHour;
    if (r.count(1) && r.count(4) && r.at(1) > 0) {
        std::printf("radios per hour: 1 cable %.1f, 2 cables %.1f, 4 cables %.1f\n", r.at(1),
                    r.count(2) ? r.at(2) : 0.0, r.at(4));
        std::printf("ratio 2 vs 1: %.2f, 4 vs 1: %.2f\n", r.count(2) ? r.at(2) / r.at(1) : 0.0,
                    r.at(4) / r.at(1));
    }
    return 0;
}
