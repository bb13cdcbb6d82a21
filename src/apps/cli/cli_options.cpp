#include "apps/cli/cli_options.h"

#include <charconv>

namespace zt {

const char* cliUsage()
{
    return "usage:\n"
           "  ztp958fm-cli read  --port P -o FILE.dat [options]   read the radio into a data file\n"
           "  ztp958fm-cli write --port P FILE.dat [options]      write a data file to the radio\n"
           "  ztp958fm-cli info  --port P [-o INFO.json] [options]\n"
           "                                  read the radio's information block (-o: also into "
           "a file)\n"
           "  ztp958fm-cli info-write --port P [INFO.json] [fields] [--batch N] [options]\n"
           "                                  write the dealer fields of the information block\n"
           "  ztp958fm-cli show  FILE.dat [options]               print a data file\n"
           "  ztp958fm-cli identify --port P [--json]            model, band, firmware, serial\n"
           "  ztp958fm-cli line JOB.json --port P1 [--port P2 ...] [--count N] [--log FILE]\n"
           "                    [--resume FILE]   production line on every port at once\n"
           "  ztp958fm-cli ports [--assign COMn DEVICE [--force]] list or assign serial ports\n"
           "                                  (--force: store a path that does not exist yet)\n"
           "  ztp958fm-cli export FILE.dat -o ch.csv [--group N]  channels as CHIRP CSV\n"
           "  ztp958fm-cli import ch.csv --into FILE.dat -o NEW.dat [--dry-run] [--skip-bad]\n"
           "                                  channels from CHIRP CSV; a refused row stops the\n"
           "                                  import (exit 1) unless --skip-bad\n"
           "  ztp958fm-cli report FILE.dat -o report.pdf [--paper a4|letter]\n"
           "                  [--language english|chinese]   channel list and settings as PDF\n"
           "P is a device path (/dev/ttyUSB0) or a port name COM1..COM16; without --port the\n"
           "only USB serial adapter present is used.\n"
           "options:\n"
           "  --password PW   the program password to offer the radio\n"
           "  --yes           answer OK/Yes to the questions a transfer asks\n"
           "  --retries N     answer OK to the communication-failure prompt up to N times\n"
           "  --lang en|zh    language of the messages\n"
           "  --timing        report the transfer time and the bytes on the wire\n"
           "  --trace FILE    write every byte sent and received, with its time, to FILE\n"
           "  --verify        write: read the radio back afterwards and compare\n"
           "  --raw FILE      read: also keep the image byte for byte in FILE; write: send\n"
           "                  FILE (an image read with --raw) byte for byte\n"
           "  --no-backup     write: do not read and keep the radio's contents first\n"
           "info-write fields (override INFO.json; all five must be given one way or the "
           "other):\n"
           "  --set-password PW  --dealer TEXT  --stock-date TEXT  --sale-date TEXT  --seller "
           "TEXT\n"
           "  --serial S      serial number to count on from (shown, never written)\n"
           "  --batch N       write N radios in turn: each new radio is noticed when the\n"
           "                  one before was taken away; Ctrl-C stops\n"
           "Ctrl-C stops a transfer at once; nothing is saved (exit status 130).\n"
           "exit status: 0 success, 1 failure, 2 misuse, 130 stopped\n";
}

namespace {

// The information-file field an info-write option sets, or null.
const char* infoFieldOption(const std::string& option)
{
    if (option == "--set-password") return "program_password";
    if (option == "--dealer") return "dealer_code";
    if (option == "--stock-date") return "stock_in_date";
    if (option == "--sale-date") return "sale_date";
    if (option == "--seller") return "seller";
    if (option == "--serial") return "serial_number";
    return nullptr;
}

}  // namespace

CliParse parseCliOptions(const std::vector<std::string>& args)
{
    CliParse r;
    CliOptions& o = r.options;
    if (args.empty()) {
        r.error = "no command given";
        return r;
    }
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        r.help = true;
        return r;
    }
    if (command == "read") {
        o.command = CliCommand::Read;
    } else if (command == "write") {
        o.command = CliCommand::Write;
    } else if (command == "info") {
        o.command = CliCommand::Info;
    } else if (command == "info-write") {
        o.command = CliCommand::InfoWrite;
    } else if (command == "show") {
        o.command = CliCommand::Show;
    } else {
        r.error = "unknown command '" + command + "'";
        return r;
    }

    std::vector<std::string> positional;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string* {
            if (i + 1 >= args.size()) {
                r.error = a + " needs a value";
                return nullptr;
            }
            return &args[++i];
        };
        if (a == "--help" || a == "-h") {
            r.help = true;
        } else if (a == "--port" || a == "-p") {
            const std::string* v = value();
            if (!v) return r;
            o.port = *v;
        } else if (a == "-o" || a == "--output") {
            const std::string* v = value();
            if (!v) return r;
            if (o.command != CliCommand::Read && o.command != CliCommand::Info) {
                r.error = a + " belongs to the read and info commands";
                return r;
            }
            o.file = *v;
        } else if (a == "--password") {
            const std::string* v = value();
            if (!v) return r;
            o.password = *v;
        } else if (a == "--yes" || a == "-y") {
            o.yes = true;
        } else if (a == "--retries") {
            const std::string* v = value();
            if (!v) return r;
            int n = -1;
            const auto [p, ec] = std::from_chars(v->data(), v->data() + v->size(), n);
            if (ec != std::errc() || p != v->data() + v->size() || n < 0) {
                r.error = "--retries takes a number 0 or more";
                return r;
            }
            o.retries = n;
        } else if (a == "--lang") {
            const std::string* v = value();
            if (!v) return r;
            if (*v == "en") {
                o.language = 1;
            } else if (*v == "zh") {
                o.language = 2;
            } else {
                r.error = "--lang takes en or zh";
                return r;
            }
        } else if (a == "--timing") {
            o.timing = true;
        } else if (a == "--trace") {
            const std::string* v = value();
            if (!v) return r;
            o.trace = *v;
        } else if (a == "--verify") {
            if (o.command != CliCommand::Write) {
                r.error = "--verify belongs to the write command";
                return r;
            }
            o.verify = true;
        } else if (a == "--raw" || a == "--no-backup") {
            if (o.command != CliCommand::Write && (a != "--raw" || o.command != CliCommand::Read)) {
                r.error = a + (a == "--raw" ? " belongs to the read and write commands"
                                            : " belongs to the write command");
                return r;
            }
            if (a == "--no-backup") {
                o.noBackup = true;
            } else {
                const std::string* v = value();
                if (!v) return r;
                o.raw = *v;
            }
        } else if (const char* field = infoFieldOption(a)) {
            const std::string* v = value();
            if (!v) return r;
            if (o.command != CliCommand::InfoWrite) {
                r.error = a + " belongs to the info-write command";
                return r;
            }
            o.infoFields[field] = *v;
        } else if (a == "--batch") {
            const std::string* v = value();
            if (!v) return r;
            int n = 0;
            const auto [p, ec] = std::from_chars(v->data(), v->data() + v->size(), n);
            if (ec != std::errc() || p != v->data() + v->size() || n < 1 || n > 999) {
                r.error = "--batch takes a number of radios from 1 to 999";
                return r;
            }
            if (o.command != CliCommand::InfoWrite) {
                r.error = "--batch belongs to the info-write command";
                return r;
            }
            o.batch = n;
        } else if (a.size() > 1 && a[0] == '-') {
            r.error = "unknown option '" + a + "'";
            return r;
        } else {
            positional.push_back(a);
        }
    }
    if (r.help) return r;

    const bool needsPort = o.command != CliCommand::Show;
    // A port left out is the only USB serial adapter present (chosen by the caller).
    if (!needsPort && !o.port.empty()) {
        r.error = "show takes no --port";
        return r;
    }
    switch (o.command) {
        case CliCommand::Read:
        case CliCommand::Info:
            if (!positional.empty()) {
                r.error = "unexpected argument '" + positional.front() + "'";
                return r;
            }
            if (o.command == CliCommand::Read && o.file.empty() && o.raw.empty())
                r.error = "read needs -o FILE.dat or --raw FILE";
            break;
        case CliCommand::InfoWrite:
            if (positional.size() > 1) {
                r.error = "info-write takes at most one information file";
                return r;
            }
            if (!positional.empty()) o.file = positional.front();
            break;
        case CliCommand::Write:
            if (!o.raw.empty() && !positional.empty()) {
                r.error = "write takes a data file or --raw FILE, not both";
                return r;
            }
            if (!o.raw.empty()) break;
            [[fallthrough]];
        case CliCommand::Show:
            if (positional.size() != 1) {
                r.error = command + " needs exactly one data file";
                return r;
            }
            o.file = positional.front();
            break;
    }
    return r;
}

}  // namespace zt
