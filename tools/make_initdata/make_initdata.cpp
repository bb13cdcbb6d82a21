// Builds the initial-data files of the Init folder from their readable source
// (data/init/channels.txt):
//   ZT-958FM_0_NEW.dat + .fre   loaded by every new document
//   ZT-958FM_0.dat + .fre       loaded by the initial-settings command, and
//                               (record only) when the _NEW file is missing
// Usage: make_initdata <source file> <output folder>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/edit/channel_grid_rules.h"
#include "core/files/data_file.h"
#include "core/files/version_manager.h"
#include "core/radio/channel_edit.h"
#include "core/radio/initial_values.h"
#include "core/radio/program_state.h"

namespace {

using namespace zt;

struct PlanEntry {
    int row = 0;
    std::string stored;  // 8-digit stored receive frequency
    int line = 0;
};

struct Source {
    std::map<std::string, std::vector<PlanEntry>> plans;
    std::vector<std::pair<int, std::vector<std::string>>> groups;  // group -> plan names
    std::vector<PlanEntry> vfo;
};

[[noreturn]] void fail(int line, const std::string& what)
{
    std::cerr << "make_initdata: line " << line << ": " << what << "\n";
    std::exit(1);
}

std::string trim(std::string s)
{
    const auto notSpace = [](unsigned char c) { return !std::isspace(c); };
    s.erase(s.begin(), std::find_if(s.begin(), s.end(), notSpace));
    s.erase(std::find_if(s.rbegin(), s.rend(), notSpace).base(), s.end());
    return s;
}

// "26.965" -> "02696500": three integer and five decimal digits of MHz.
std::string storedFrequency(const std::string& text, int line)
{
    const auto dot = text.find('.');
    const std::string whole = text.substr(0, dot);
    const std::string decimals = dot == std::string::npos ? "" : text.substr(dot + 1);
    const auto digits = [](const std::string& s) {
        return std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
    };
    if (whole.empty() || whole.size() > 3 || decimals.size() > 5 || !digits(whole) ||
        !digits(decimals)) {
        fail(line, "not a frequency in MHz: " + text);
    }
    std::string stored = std::string(3 - whole.size(), '0') + whole + decimals;
    stored += std::string(8 - stored.size(), '0');
    // The radio's band, in units of 10 Hz.
    const long tenHz = std::stol(stored);
    if (tenHz < 2561500 || tenHz > 3010500) fail(line, "outside 25.615 - 30.105 MHz: " + text);
    return stored;
}

// The channel number before group g's first channel, and its number of rows.
int groupBase(int g)
{
    return g == 0 ? 0 : g == 1 ? 40 : (g + 1) * 40;
}
int groupSize(int g)
{
    return g == 1 ? 80 : 40;
}

Source readSource(const std::filesystem::path& path)
{
    std::ifstream in(path);
    if (!in) {
        std::cerr << "make_initdata: cannot read " << path << "\n";
        std::exit(1);
    }
    Source src;
    std::string section;
    std::vector<PlanEntry>* plan = nullptr;
    std::string raw;
    for (int line = 1; std::getline(in, raw); ++line) {
        const std::string text = trim(raw.substr(0, raw.find('#')));
        if (text.empty()) continue;
        if (text.front() == '[') {
            if (text.back() != ']') fail(line, "bad section: " + text);
            section = trim(text.substr(1, text.size() - 2));
            plan = nullptr;
            if (section.rfind("plan ", 0) == 0) {
                const std::string name = trim(section.substr(5));
                if (src.plans.count(name)) fail(line, "plan defined twice: " + name);
                plan = &src.plans[name];
                section = "plan";
            } else if (section != "groups" && section != "vfo") {
                fail(line, "unknown section: " + section);
            }
            continue;
        }
        if (section == "plan" || section == "vfo") {
            std::istringstream fields(text);
            PlanEntry e;
            std::string freq, extra;
            if (!(fields >> e.row >> freq) || (fields >> extra))
                fail(line, "expected ROW FREQUENCY");
            e.stored = storedFrequency(freq, line);
            e.line = line;
            (section == "plan" ? *plan : src.vfo).push_back(e);
        } else if (section == "groups") {
            const auto eq = text.find('=');
            if (eq == std::string::npos) fail(line, "expected GROUP = PLAN ...");
            const std::string groupText = trim(text.substr(0, eq));
            if (groupText.empty() ||
                !std::all_of(groupText.begin(), groupText.end(),
                             [](unsigned char c) { return std::isdigit(c); })) {
                fail(line, "bad group number: " + groupText);
            }
            const int group = std::stoi(groupText);
            if (group < 0 || group >= kNamedGroups) fail(line, "group outside 0..11");
            std::istringstream names(text.substr(eq + 1));
            std::vector<std::string> planNames;
            for (std::string n; names >> n;) {
                if (!src.plans.count(n)) fail(line, "unknown plan: " + n);
                planNames.push_back(n);
            }
            src.groups.emplace_back(group, planNames);
        } else {
            fail(line, "text outside a section");
        }
    }
    return src;
}

RadioDocument buildDocument(const Source& src)
{
    ProgramState state;  // the standard model and band
    RadioDocument doc;
    applyNewDocumentDefaults(doc, state);
    doc.Data.Version = kOwnSoftVersion;
    doc.Data.ChannelCount = 0;  // the channels come from the source alone

    std::vector<std::pair<int, std::string>> channels;  // number, stored frequency
    std::vector<bool> used(kMaxChannels + 1, false);
    auto add = [&](int chNo, const PlanEntry& e) {
        if (chNo < 1 || chNo > kMaxChannels) fail(e.line, "channel number outside 1..521");
        if (used[static_cast<std::size_t>(chNo)]) {
            fail(e.line, "channel " + std::to_string(chNo) + " given twice");
        }
        used[static_cast<std::size_t>(chNo)] = true;
        channels.emplace_back(chNo, e.stored);
    };
    for (const auto& [group, planNames] : src.groups) {
        for (const auto& name : planNames) {
            for (const auto& e : src.plans.at(name)) {
                if (e.row < 1 || e.row > groupSize(group)) {
                    fail(e.line, "row outside group " + std::to_string(group));
                }
                add(groupBase(group) + e.row, e);
            }
        }
    }
    for (const auto& e : src.vfo) {
        if (e.row != kVfoChannel) fail(e.line, "the VFO channel is 521");
        add(e.row, e);
    }
    // In ascending channel order, as a read from the radio would list them.
    std::sort(channels.begin(), channels.end());
    for (const auto& [chNo, stored] : channels) newChannel(doc, chNo, stored);
    // Stored in the form the channel grid shows: each group's emergency rows name occupied
    // rows. Otherwise merely opening the grid would change an untouched new document.
    for (int group = 0; group < kNamedGroups; ++group) reshowEmergency(doc, group);
    return doc;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make_initdata <source file> <output folder>\n";
        return 2;
    }
    const RadioDocument doc = buildDocument(readSource(argv[1]));
    const std::filesystem::path outDir = argv[2];
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    for (const char* name : {"ZT-958FM_0_NEW.dat", "ZT-958FM_0.dat"}) {
        if (!writeDataFile(outDir / name, doc)) {
            std::cerr << "make_initdata: cannot write " << (outDir / name) << "\n";
            return 1;
        }
    }
    std::cout << "make_initdata: " << doc.Data.ChannelCount << " channels written to " << outDir
              << "\n";
    return 0;
}
