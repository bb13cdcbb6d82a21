#include "core/production/unit_log.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <map>
#include <vector>

namespace zt {

namespace {

const char* const kColumns[] = {
    "time",     "port",        "serial_number", "model",          "band",   "firmware",   "flags",
    "document", "image_crc32", "information",   "counted_serial", "result", "duration_s", "error"};

std::string csvField(const std::string& s)
{
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

std::string isoTime(std::chrono::system_clock::time_point t)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(t);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return buffer;
}

// Splits CSV text into rows of fields (quoted fields may hold commas, quotes
// and line breaks).
std::vector<std::vector<std::string>> csvRows(std::string_view text)
{
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    bool any = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field.push_back('"');
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field.push_back(c);
            }
            continue;
        }
        if (c == '"') {
            quoted = true;
            any = true;
        } else if (c == ',') {
            row.push_back(field);
            field.clear();
            any = true;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            if (any || !field.empty()) {
                row.push_back(field);
                rows.push_back(row);
            }
            row.clear();
            field.clear();
            any = false;
        } else {
            field.push_back(c);
            any = true;
        }
    }
    if (any || !field.empty()) {
        row.push_back(field);
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

const char* unitResultName(UnitResult result)
{
    switch (result) {
        case UnitResult::Done:
            return "done";
        case UnitResult::Failed:
            return "failed";
        case UnitResult::Refused:
            return "refused";
        case UnitResult::Skipped:
            return "skipped";
        case UnitResult::Stopped:
            return "stopped";
    }
    return "failed";
}

std::string unitLogHeader()
{
    std::string line;
    for (const char* c : kColumns) line += (line.empty() ? "" : ",") + std::string(c);
    return line + "\r\n";
}

std::string unitLogRow(const UnitRecord& r)
{
    char flags[8];
    std::snprintf(flags, sizeof flags, "0x%02X", r.flags & 0xFF);
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", r.seconds);
    const std::string fields[] = {isoTime(r.time),
                                  r.port,
                                  r.serialNumber,
                                  r.model,
                                  r.band,
                                  r.firmware,
                                  r.model.empty() ? std::string() : std::string(flags),
                                  r.document,
                                  r.imageCrc,
                                  r.information,
                                  r.countedSerial,
                                  unitResultName(r.result),
                                  seconds,
                                  r.error};
    std::string line;
    for (const auto& f : fields) {
        if (&f != &fields[0]) line.push_back(',');
        line += csvField(f);
    }
    return line + "\r\n";
}

std::string UnitLogFile::open(const std::filesystem::path& path)
{
    close();
    file_ = std::fopen(path.c_str(), "ab");
    if (!file_) return "cannot open " + path.string() + " for appending";
    if (std::ftell(file_) == 0) {
        const std::string header = unitLogHeader();
        if (std::fputs(header.c_str(), file_) < 0 || std::fflush(file_) != 0) {
            close();
            return "cannot write to " + path.string();
        }
    }
    return {};
}

bool UnitLogFile::append(const UnitRecord& record)
{
    if (!file_) return false;
    const std::string row = unitLogRow(record);
    return std::fwrite(row.data(), 1, row.size(), file_) == row.size() && std::fflush(file_) == 0;
}

void UnitLogFile::close()
{
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

ResumeState readResumeState(std::string_view text)
{
    ResumeState state;
    const auto rows = csvRows(text);
    if (rows.empty()) return state;  // an empty log: nothing done yet
    std::map<std::string, std::size_t> column;
    for (std::size_t i = 0; i < rows[0].size(); ++i) column[rows[0][i]] = i;
    if (!column.count("serial_number") || !column.count("result")) {
        state.error =
            "not a production log: its first line lacks the columns serial_number "
            "and result";
        return state;
    }
    const std::size_t serial = column["serial_number"];
    const std::size_t result = column["result"];
    const bool hasCounted = column.count("counted_serial") != 0;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const auto& row = rows[r];
        if (row.size() <= std::max(serial, result) || row[result] != "done") continue;
        if (!row[serial].empty()) state.doneSerials.insert(row[serial]);
        const std::size_t counted = column["counted_serial"];
        if (hasCounted && counted < row.size() && !row[counted].empty())
            state.lastCountedSerial = row[counted];
    }
    return state;
}

std::string crc32Hex(std::string_view bytes)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (char ch : bytes) crc = table[(crc ^ static_cast<std::uint8_t>(ch)) & 0xFF] ^ (crc >> 8);
    char out[9];
    std::snprintf(out, sizeof out, "%08x", crc ^ 0xFFFFFFFFu);
    return out;
}

}  // namespace zt
