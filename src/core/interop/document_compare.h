#pragma once

#include <string>
#include <vector>

#include "core/radio/radio_data.h"
#include "core/values/band_limits.h"

namespace zt {

// A readable comparison of two documents ("before" and "after"): per group and channel each
// field that differs with both values in the forms the program shows them (frequency texts
// "#0.00000", tone names), then the settings, DTMF, tone tips and texts. Equal parts are not
// listed. Field names and values are plain English words; record texts are UTF-8.

struct FieldDifference {
    std::string field;   // "receive", "transmit tone", "squelch level"
    std::string before;  // the value in the first document
    std::string after;   // the value in the second document
};

enum class ChannelChangeKind { Changed, Added, Removed };

struct ChannelDifference {
    int group = 0;
    int chNo = 0;
    ChannelChangeKind kind = ChannelChangeKind::Changed;
    std::vector<FieldDifference> fields;  // Added/Removed: the receive frequency only
};

// Where a non-channel difference belongs.
enum class SettingSection { Settings, Dtmf, ToneTips, Texts };

struct SettingDifference {
    SettingSection section = SettingSection::Settings;
    FieldDifference field;
};

struct DocumentComparison {
    std::vector<ChannelDifference> channels;  // by group, then channel number
    std::vector<SettingDifference> settings;  // by section, then record order

    bool equal() const { return channels.empty() && settings.empty(); }
};

// Compares two documents. `limits` gives the display of stored frequency texts.
DocumentComparison compareDocuments(const RadioDocument& before, const RadioDocument& after,
                                    const BandLimits& limits);

// "Group 3" heading lines, then "channel 405: receive 29.62000 → 29.63000; transmit tone
// CTCSS 67.0 → Off" lines, then section headings ("Settings", "DTMF", "Tone tips", "Texts")
// with one "name: before → after" line each. Empty for equal documents.
std::vector<std::string> describeComparison(const DocumentComparison& comparison);

// "2 channels and 1 setting", "1 channel and 0 settings".
std::string comparisonCounts(const DocumentComparison& comparison);

// The comparison as one JSON object, for scripts:
// {"equal":false,"channels":N,"settings":M,"channelChanges":[{"group":g,"channel":c,
//  "change":"changed|added|removed","fields":[{"field":..,"before":..,"after":..}]}],
//  "settingChanges":[{"section":"settings|dtmf|toneTips|texts","field":..,"before":..,
//  "after":..}]}
std::string comparisonJson(const DocumentComparison& comparison);

// The section's heading word ("Settings", "DTMF", "Tone tips", "Texts").
const char* sectionName(SettingSection section);

}  // namespace zt
