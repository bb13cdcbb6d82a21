#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/files/install_paths.h"
#include "core/files/language.h"
#include "core/host/program_launcher.h"
#include "core/host/prompt.h"

namespace zt {

// This program's software version; also stamped into every document it writes.
constexpr const char* kOwnSoftVersion = "V300";

// One Version.ini entry: a software version and a firmware (or data file)
// version it works with, 4 characters each.
struct VersionPair {
    std::string soft;
    std::string firm;
    friend bool operator==(const VersionPair&, const VersionPair&) = default;
};

// The compatible pairs in file order. Empty means every version is foreign.
struct VersionTable {
    std::vector<VersionPair> pairs;
};

// Reads Version.ini: count "FirmVersionCount" of section "Version", then
// "Firm0" ... of section "Firm", each value software version (first 4
// characters) + firmware version (last 4). A missing file, a missing,
// non-numeric or non-positive count gives an empty table; missing entries
// are skipped.
VersionTable loadVersionTable(const std::filesystem::path& versionIni);

// A stored version text: after the cut (trailing spaces, then first NUL) it
// has exactly 4 characters, begins with "V" and the last 3 read as a number
// (V300 and V3.0 pass; V30A and X300 do not).
bool IsValidVersionText(std::string_view text);

// True when some pair has exactly this software part and this firmware part.
bool IsVersionCompatible(const VersionTable& table, std::string_view soft, std::string_view firm);

// The software part of the first pair whose firmware part is `firm`, or "".
std::string FindSoftForFirm(const VersionTable& table, std::string_view firm);

// How a version is shown: first two characters, ".", last two ("V310" -> "V3.10").
std::string shownVersionText(std::string_view version);

// What the mismatch question is about.
enum class VersionKind { Firmware = 0, DataFile = 1 };

// Text 9062, CR LF, text 9060 (firmware) or 9064 (data file) + " " + shown
// firm, CR LF, text 9061 + " " + shown soft.
std::string VersionMismatchText(std::string_view soft, std::string_view firm, VersionKind kind,
                                const TextLookup& text);

enum class StartResult {
    Started,            // the matching version's program was started
    NoMatchingVersion,  // no pair for the firmware: text 9063 was shown
    StartFailed,        // the program is missing or could not be started
};

// Starts <root>/<soft for firm>/<executableName>, or shows text 9063 (OK) when
// no installed version takes the firmware. Whatever the result, the caller
// ends the running program afterwards when the user agreed to switch.
StartResult StartMatchingVersion(const VersionTable& table, std::string_view firm,
                                 const InstallPaths& paths,
                                 const std::filesystem::path& executableName,
                                 ProgramLauncher& launcher, Prompt& prompt);

// ---- Checks made when a radio identifies itself ----

constexpr int kTransferWrite = 2;

// The document's model text equals the radio's.
bool modelEqual(std::string_view documentModel, std::string_view radioModel);

// True unless the transfer is a write (kind 2) and the band codes differ.
bool bandEqualForTransfer(int documentBand, int radioBand, int transferKind);

// The band group (code bits 3-7) of the document is at most 3 and equals the
// radio's.
bool bandGroupCompatible(int documentBand, int radioBand);

// What to do after the identification, in the order the checks are made.
enum class RadioCheck {
    Proceed,          // model, band and version fit
    ModelDiffers,     // show 9012, stop
    VersionMismatch,  // ask VersionMismatchText(own, firm, Firmware) Yes/No
    BandAsk,          // ask 9014 (warning, OK/Cancel); OK goes on
    BandRefused,      // show 9030 (warning), stop
};

RadioCheck checkRadioIdentity(const VersionTable& table, std::string_view documentModel,
                              std::string_view radioModel, int documentBand, int radioBand,
                              int transferKind, std::string_view radioFirmware);

}  // namespace zt
