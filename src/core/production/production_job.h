#pragma once

// A production job: what goes onto every radio of a production line, read
// from a small JSON file:
//
//     {
//       "document": "radios/shop.dat",
//       "info": { "dealer_code": "DL-7", "stock_in_date": "2026-12-01", ... },
//       "require": { "model": "ZT-958FM", "band": "25.615 - 30.105 MHz", "firmware": "V300" }
//     }
//
// Every key is optional, but a job must put something onto a radio (a
// document, an information block or both). "info" is an object as `info -o`
// writes it; when present it must give the five fields an information write
// sends, and its "serial_number" is the number counted on per radio. A
// relative document path is taken from the job file's folder.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace zt {

// What a radio must report before anything is written to it.
struct RadioRequirements {
    std::optional<std::string> model;     // identification model text, e.g. "ZT-958FM"
    std::optional<std::string> band;      // band text ("25.615 - 30.105 MHz") or code ("0")
    std::optional<std::string> firmware;  // firmware version text, e.g. "V300"
    bool any() const { return model || band || firmware; }
};

struct ProductionJob {
    std::filesystem::path document;                          // empty: no document is written
    std::optional<std::map<std::string, std::string>> info;  // information-file fields
    RadioRequirements require;
};

struct ProductionJobParse {
    ProductionJob job;
    std::string error;  // empty when the job is usable; otherwise what is wrong and where
};

// Reads a job's text. Unknown keys, repeated keys, values of the wrong type,
// an information object the information file reader refuses or that lacks a
// field the write sends, and a job that writes nothing are refused.
// `folder` resolves a relative document path.
ProductionJobParse parseProductionJob(std::string_view text, const std::filesystem::path& folder);

// The job's identity checks against what a radio reported; the empty string
// when it passes, otherwise why it is refused.
std::string checkRequirements(const RadioRequirements& require, std::string_view model,
                              int bandCode, std::string_view firmware);

}  // namespace zt
