#include "apps/radio_sim/sim_options.h"

#include <charconv>
#include <sstream>

#include "platform/port_table.h"

namespace zt {

namespace {

bool parseInt(const std::string& text, long long& value)
{
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && p == end && !text.empty();
}

bool parseProbability(const std::string& text, double& value)
{
    try {
        std::size_t used = 0;
        value = std::stod(text, &used);
        return used == text.size() && value >= 0.0 && value <= 1.0;
    } catch (...) {
        return false;
    }
}

}  // namespace

const char* simUsage()
{
    return "usage: ztp958fm-radio-sim [options]\n"
           "A virtual ZT-958FM radio on a pseudo-terminal. Prints the device path on the\n"
           "first line of standard output, then serves until interrupted.\n"
           "  --memory FILE        radio memory (16384 bytes): loaded when present, saved\n"
           "                       after every stored block and END\n"
           "  --create             start as a fresh radio even when FILE exists\n"
           "  --echo               echo every byte like a one-wire cable\n"
           "  --baud 9600|0        time the line like 9600 baud 8N1 (0 = no delay; default 0)\n"
           "  --password PW        program password (up to 4 characters)\n"
           "  --firmware VERSION   firmware version text (e.g. V300)\n"
           "  --flags N            feature-flag byte of the identity area (0..255)\n"
           "  --fault SPEC         drop=P,corrupt=P,refuse=P,lag=P,lag_ms=N,lose=P,\n"
           "                       unplug=N,seed=N (P from 0 to 1). lag: an answer comes\n"
           "                       lag_ms (default 200) late, order kept; lose: a write is\n"
           "                       acknowledged but not stored; unplug: stop answering after\n"
           "                       N block reads and writes\n"
           "  --register INI COMn  write the \"ports\" entry COMn=<device> into INI\n"
           "  --swap-after N FILE  after N sessions (each ended by END) the cable is on\n"
           "                       another radio: FILE's memory (16384 bytes), saved to\n"
           "                       FILE from then on\n"
           "SIGUSR1 pulls the cable out (nothing is echoed or answered) or plugs it in again.\n";
}

bool parseFaultSpec(const std::string& text, FaultSettings& faults, std::string& error)
{
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        const auto eq = item.find('=');
        if (eq == std::string::npos) {
            error = "bad fault item '" + item + "'";
            return false;
        }
        const std::string key = item.substr(0, eq);
        const std::string value = item.substr(eq + 1);
        bool ok = true;
        if (key == "drop") {
            ok = parseProbability(value, faults.drop);
        } else if (key == "corrupt") {
            ok = parseProbability(value, faults.corrupt);
        } else if (key == "refuse") {
            ok = parseProbability(value, faults.refuse);
        } else if (key == "lag") {
            ok = parseProbability(value, faults.lag);
        } else if (key == "lag_ms") {
            long long ms = 0;
            ok = parseInt(value, ms) && ms >= 0 && ms <= 60000;
            faults.lagMs = static_cast<int>(ms);
        } else if (key == "lose") {
            ok = parseProbability(value, faults.lose);
        } else if (key == "unplug") {
            long long n = 0;
            ok = parseInt(value, n) && n >= 0 && n <= 1000000;
            faults.unplugAfterBlocks = static_cast<int>(n);
        } else if (key == "seed") {
            long long seed = 0;
            ok = parseInt(value, seed) && seed >= 0;
            faults.seed = static_cast<std::uint64_t>(seed);
        } else {
            error = "unknown fault '" + key + "'";
            return false;
        }
        if (!ok) {
            error = "bad value for fault '" + key + "'";
            return false;
        }
    }
    return true;
}

SimOptionsResult parseSimOptions(const std::vector<std::string>& args)
{
    SimOptionsResult r;
    SimOptions& o = r.options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* what) -> const std::string* {
            if (i + 1 >= args.size()) {
                r.error = a + " needs " + what;
                return nullptr;
            }
            return &args[++i];
        };
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--memory") {
            const std::string* v = value("a file");
            if (!v) return r;
            o.memoryFile = *v;
        } else if (a == "--create") {
            o.create = true;
        } else if (a == "--echo") {
            o.echo = true;
        } else if (a == "--baud") {
            const std::string* v = value("9600 or 0");
            if (!v) return r;
            long long baud = 0;
            if (!parseInt(*v, baud) || (baud != 0 && baud != 9600)) {
                r.error = "--baud takes 9600 or 0";
                return r;
            }
            o.baud = static_cast<int>(baud);
        } else if (a == "--password") {
            const std::string* v = value("a password");
            if (!v) return r;
            if (v->size() > 4) {
                r.error = "the program password has at most 4 characters";
                return r;
            }
            o.password = *v;
        } else if (a == "--firmware") {
            const std::string* v = value("a version text");
            if (!v) return r;
            if (v->empty() || v->size() > 4) {
                r.error = "the firmware version has 1 to 4 characters";
                return r;
            }
            o.firmware = *v;
        } else if (a == "--flags") {
            const std::string* v = value("a number");
            if (!v) return r;
            long long flags = 0;
            if (!parseInt(*v, flags) || flags < 0 || flags > 255) {
                r.error = "--flags takes 0..255";
                return r;
            }
            o.flags = static_cast<std::uint8_t>(flags);
        } else if (a == "--fault") {
            const std::string* v = value("a fault list");
            if (!v) return r;
            if (!parseFaultSpec(*v, o.faults, r.error)) return r;
        } else if (a == "--swap-after") {
            if (i + 2 >= args.size()) {
                r.error = "--swap-after needs a number of sessions and a memory file";
                return r;
            }
            long long sessions = 0;
            if (!parseInt(args[i + 1], sessions) || sessions < 1 || sessions > 1000000) {
                r.error = "--swap-after takes a number of sessions from 1";
                return r;
            }
            o.swapAfter = static_cast<int>(sessions);
            o.swapFile = args[i + 2];
            i += 2;
        } else if (a == "--register") {
            if (i + 2 >= args.size()) {
                r.error = "--register needs a mysetup.ini and a port name COMn";
                return r;
            }
            o.registerIni = args[i + 1];
            o.registerCom = comNumberOfName(args[i + 2]);
            i += 2;
            if (o.registerCom == 0) {
                r.error = "--register takes a port name COM1..COM16";
                return r;
            }
        } else {
            r.error = "unknown option '" + a + "'";
            return r;
        }
    }
    return r;
}

}  // namespace zt
