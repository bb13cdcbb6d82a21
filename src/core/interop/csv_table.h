#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zt {

// One record of a CSV text with the line number (1-based) it starts on.
struct CsvRow {
    int line = 0;
    std::vector<std::string> fields;
};

struct CsvTable {
    std::vector<std::string> header;  // the first record
    std::vector<CsvRow> rows;         // every later record that is not blank
    int errorLine = 0;                // line of an unterminated quoted field, 0 when none
};

// Reads comma-separated text: fields in double quotes may hold commas, line breaks and
// doubled quotes; lines end in LF or CR LF; a leading UTF-8 byte-order mark is skipped.
CsvTable parseCsv(std::string_view text);

// One record ending in CR LF; a field holding a comma, quote or line break is quoted.
std::string csvLine(const std::vector<std::string>& fields);

}  // namespace zt
