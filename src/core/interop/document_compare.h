#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "core/files/language.h"
#include "core/radio/radio_data.h"
#include "core/values/band_limits.h"

namespace zt {

// A readable comparison of two documents ("before" and "after"): per group and channel each
// field that differs with both values in the forms the program shows them (frequency texts
// "#0.00000", tone names), then the settings, DTMF, tone tips and texts. Equal parts are not
// listed. Field names and value words are given by their text ids (the language files'
// words of the comparison), so each program words them in its own language: the command line
// and its JSON in the fixed English of comparisonWordList(), the windows in the language the
// user chose. Record texts are UTF-8.

// A piece of a comparison's wording: the text `textId` with its %1, %2... filled from `args`,
// or, with no id, the literal text (a number, a frequency, a tone name, a quoted record text).
struct Phrase {
    int textId = 0;
    std::string literal;
    std::vector<Phrase> args;

    Phrase() = default;
    Phrase(std::string text) : literal(std::move(text)) {}  // implicit: values are mostly literal
    Phrase(const char* text) : literal(text) {}
    static Phrase word(int textId, std::vector<Phrase> args = {});

    bool operator==(const Phrase&) const = default;
};

// One word of the comparison with its fixed English.
struct ComparisonWord {
    int textId;
    const char* english;
};

// Every text id a comparison uses (field names, value words, headings, counts) with the
// English the command line prints; the language files hold each of them.
const std::vector<ComparisonWord>& comparisonWordList();

// Words phrases: each text id through `lookup` (a language file), the fixed English where the
// lookup has no text or none is given. Each id is looked up once: a full comparison words
// thousands of fields.
class ComparisonWords {
  public:
    ComparisonWords() = default;
    explicit ComparisonWords(TextLookup lookup) : lookup_(std::move(lookup)) {}

    std::string text(int textId) const;
    std::string operator()(const Phrase& phrase) const;

  private:
    TextLookup lookup_;
    mutable std::unordered_map<int, std::string> looked_;
};

struct FieldDifference {
    Phrase field;   // "receive", "transmit tone", "squelch level"
    Phrase before;  // the value in the first document
    Phrase after;   // the value in the second document
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
std::vector<std::string> describeComparison(const DocumentComparison& comparison,
                                            const ComparisonWords& words = {});

// One channel's line after its indent: "channel 405: receive 29.62000 → 29.63000; ..." and
// one setting's line: "squelch level: 3 → 5".
std::string channelLine(const ChannelDifference& channel, const ComparisonWords& words = {});
std::string settingLine(const SettingDifference& setting, const ComparisonWords& words = {});

// A group's heading line: "Group 9", or "Channels outside the groups" for group -1.
std::string groupHeading(int group, const ComparisonWords& words = {});

// "1 channel", "2 channels"; "1 setting", "0 settings".
std::string channelCount(std::size_t n, const ComparisonWords& words = {});
std::string settingCount(std::size_t n, const ComparisonWords& words = {});

// "2 channels and 1 setting", "1 channel and 0 settings".
std::string comparisonCounts(const DocumentComparison& comparison);

// The comparison as one JSON object, for scripts, in the English words:
// {"equal":false,"channels":N,"settings":M,"channelChanges":[{"group":g,"channel":c,
//  "change":"changed|added|removed","fields":[{"field":..,"before":..,"after":..}]}],
//  "settingChanges":[{"section":"settings|dtmf|toneTips|texts","field":..,"before":..,
//  "after":..}]}
std::string comparisonJson(const DocumentComparison& comparison);

// The section's heading word ("Settings", "DTMF", "Tone tips", "Texts").
std::string sectionName(SettingSection section, const ComparisonWords& words = {});

}  // namespace zt
