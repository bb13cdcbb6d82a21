#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/files/language.h"
#include "core/radio/radio_data.h"
#include "core/values/band_limits.h"

namespace zt {

// The printable report of a document: the channel list by group and the main settings, as
// texts ready to be laid out on pages. Every text is UTF-8 (language texts as they are,
// record texts converted from their one-byte form).

// What the page header names; the caller supplies the date so reports are reproducible.
struct ReportSource {
    std::string model;
    std::string band;
    std::string fileName;  // without its folder
    std::string date;
};

struct ReportField {
    std::string label;
    std::string value;
};

struct ReportChannelRow {
    int row = 0;             // position in its group, as the channel grid numbers it
    int chNo = 0;            // channel number
    std::string receive;     // "27.61125"; a stored text that is no number is shown as "?<text>"
    std::string offset;      // signed offset "+0.10000"/"-0.10000", empty without a shift
    std::string transmit;    // transmit frequency (the receive frequency without a shift)
    std::string decodeTone;  // receive CTCSS/DCS: "OFF" wording, "67.0", "D023N"
    std::string encodeTone;  // transmit CTCSS/DCS
    std::string flags;       // abbreviations separated by spaces: "Skip TSQ BCL2 RB3"
};

struct ReportGroup {
    int group = 0;
    std::string title;                   // "Group 3 -- EC", "Group 12 -- VFO"
    std::vector<ReportChannelRow> rows;  // by channel number
};

struct ChannelReport {
    std::string title;
    std::vector<ReportField> header;   // model, band, file, date
    std::vector<std::string> columns;  // headings, in the order of reportCells()
    std::vector<ReportGroup> groups;   // groups that hold channels, ascending
    std::string noChannels;            // shown instead of the list when no group holds one
    std::string legendTitle;
    std::vector<ReportField> legend;  // flag abbreviation -> what it stands for
    std::string settingsTitle;
    std::vector<ReportField> settings;
    std::string publicTitle;
    std::vector<ReportField> publicSettings;
};

// The cells of a channel row in column order.
std::vector<std::string> reportCells(const ReportChannelRow& row);

// Builds the report of a document. Positions without a channel and channels without a receive
// frequency are left out; groups without channels are left out of the list (their names still
// appear among the settings).
ChannelReport buildChannelReport(const RadioDocument& doc, const ReportSource& source,
                                 const TextLookup& text, const BandLimits& limits);

// True when writing a report to `output` would replace the data file at `dataFile` or its
// companion channel file: a report must never overwrite the document it describes.
bool reportWouldReplaceDataFile(const std::filesystem::path& output,
                                const std::filesystem::path& dataFile);

// A record text (one byte per character) as UTF-8: bytes 0x80-0xFF are U+0080-U+00FF, control
// characters become '?' so nothing invisible reaches a page.
std::string recordTextToUtf8(const std::string& bytes);

}  // namespace zt
