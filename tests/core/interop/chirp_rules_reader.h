#pragma once

// Reads a CSV text as current CHIRP reads its generic CSV files: every column it knows is put
// through a fixed conversion, used or not, and a row with any failing conversion is refused.
// Written from CHIRP's rules alone, independent of this program's importer, so that an
// exported file can be checked by the rules of the program that will read it.

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace zt::testutil {

inline std::vector<std::string> splitChirpLine(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == ',')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

// A decimal number as Python's float() takes it (no empty text, nothing left over).
inline bool chirpFloat(std::string text)
{
    if (text.empty()) return false;
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size();
}

inline bool chirpInt(const std::string& text)
{
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// One message for each refused row ("line 3: rToneFreq ''"); empty when CHIRP takes every row.
// Quoted fields are not expected in an exported file and count as refusals.
inline std::vector<std::string> chirpRefusals(const std::string& csv)
{
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < csv.size(); ++i) {
        if (csv[i] == '\r' && i + 1 < csv.size() && csv[i + 1] == '\n') continue;
        if (csv[i] == '\n') {
            lines.push_back(current);
            current.clear();
        } else {
            current += csv[i];
        }
    }
    if (!current.empty()) lines.push_back(current);
    std::vector<std::string> refusals;
    if (lines.empty()) return {"no header"};
    const std::vector<std::string> header = splitChirpLine(lines[0]);
    static const std::set<std::string> tones = {"",       "Tone",   "TSQL", "DTCS",
                                                "DTCS-R", "TSQL-R", "Cross"};
    static const std::set<std::string> duplexes = {"", "+", "-", "split", "off"};
    static const std::set<std::string> modes = {
        "WFM", "FM",  "NFM",  "AM",  "NAM", "DV",   "USB",   "LSB", "CW",   "RTTY", "DIG",
        "PKT", "NCW", "NCWR", "CWR", "P25", "Auto", "RTTYR", "FSK", "FSKR", "DMR",  "DN"};
    static const std::set<std::string> polarities = {"NN", "NR", "RN", "RR"};
    static const std::set<std::string> crossModes = {"Tone->Tone", "Tone->DTCS", "DTCS->Tone",
                                                     "DTCS->",     "->Tone",     "->DTCS",
                                                     "DTCS->DTCS", "Tone->"};
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const std::vector<std::string> row = splitChirpLine(lines[n]);
        std::string why;
        if (row.size() != header.size()) why = "field count";
        for (std::size_t k = 0; why.empty() && k < header.size(); ++k) {
            const std::string& col = header[k];
            const std::string& v = row[k];
            bool ok = true;
            if (v.find('"') != std::string::npos) {
                ok = false;
            } else if (col == "Location") {
                ok = chirpInt(v);
            } else if (col == "Frequency" || col == "Offset" || col == "rToneFreq" ||
                       col == "cToneFreq" || col == "TStep") {
                ok = chirpFloat(v);
            } else if (col == "DtcsCode" || col == "RxDtcsCode") {
                // A whole number written in octal digits, 000-777.
                ok = chirpInt(v) && v.size() <= 3 && v.find_first_of("89") == std::string::npos;
            } else if (col == "DtcsPolarity") {
                ok = polarities.count(v) != 0;
            } else if (col == "CrossMode") {
                ok = crossModes.count(v) != 0;
            } else if (col == "Tone") {
                ok = tones.count(v) != 0;
            } else if (col == "Duplex") {
                ok = duplexes.count(v) != 0;
            } else if (col == "Mode") {
                ok = modes.count(v) != 0;
            } else if (col == "Skip") {
                ok = v.empty() || v == "S" || v == "P";
            } else if (col == "Power") {
                std::string watts = v;
                if (!watts.empty() && watts.back() == 'W') watts.pop_back();
                ok = chirpFloat(watts);
            }
            if (!ok) why = col + " '" + v + "'";
        }
        if (!why.empty()) refusals.push_back("line " + std::to_string(n + 1) + ": " + why);
    }
    return refusals;
}

}  // namespace zt::testutil
