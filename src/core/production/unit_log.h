#pragma once

// The production line's log: one CSV row per radio (RFC 4180 quoting, CR LF
// line ends), appended to a file and flushed row by row, so a crash of the
// program loses no radio already logged. The same file can be read back to
// resume a line: the serial numbers of the radios already done are skipped.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace zt {

// What happened to one radio.
enum class UnitResult {
    Done,     // everything the job asks was written (and proved)
    Failed,   // a step failed; the reason is in the error column
    Refused,  // the radio failed the job's checks; nothing was written
    Skipped,  // its serial number was already done; nothing was written
    Stopped,  // the line was stopped while the radio was being written
};
const char* unitResultName(UnitResult result);

struct UnitRecord {
    std::chrono::system_clock::time_point time;
    std::string port;
    std::string serialNumber;  // as the radio reported it
    std::string model;
    std::string band;
    std::string firmware;
    int flags = 0;
    std::string document;     // data file name, "" when the job writes none
    std::string imageCrc;     // CRC-32 of the image written, 8 hex digits
    std::string information;  // the information fields written, name=value;...
    std::string countedSerial;
    UnitResult result = UnitResult::Failed;
    double seconds = 0.0;
    std::string error;
};

// The header line and one row (each with its CR LF).
std::string unitLogHeader();
std::string unitLogRow(const UnitRecord& record);

// An open log file. Rows go to the end of the file; a new or empty file gets
// the header first.
class UnitLogFile {
  public:
    UnitLogFile() = default;
    ~UnitLogFile() { close(); }
    UnitLogFile(const UnitLogFile&) = delete;
    UnitLogFile& operator=(const UnitLogFile&) = delete;

    // "" when opened, else why not.
    std::string open(const std::filesystem::path& path);
    // Writes and flushes one row; false when the file could not take it.
    bool append(const UnitRecord& record);
    void close();
    bool isOpen() const { return file_ != nullptr; }

  private:
    std::FILE* file_ = nullptr;
};

struct ResumeState {
    std::set<std::string> doneSerials;  // serial numbers of rows whose result is done
    std::string lastCountedSerial;      // the counted serial of the last done row
    std::string error;                  // "" when the log was read
};
// Reads a log written by UnitLogFile (any column order; the columns
// serial_number and result are needed).
ResumeState readResumeState(std::string_view text);

// CRC-32 (IEEE 802.3, as zip uses) of `bytes`, as 8 lower-case hex digits.
std::string crc32Hex(std::string_view bytes);

}  // namespace zt
