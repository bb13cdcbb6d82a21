#pragma once

// Snapshots of radios: what a radio held, kept so that every write can be compared, previewed
// and undone. A snapshot holds the raw bytes exactly as the radio sent them (the memory image
// and its identification bytes) and the decoded document, with its time, kind and the program
// version. Each radio has a folder of its own below the snapshot root
// ($XDG_DATA_HOME/ztp958fm/radios). A snapshot file is written whole under a name no other
// file has (a temporary file, then a second name that is refused when taken), never rewritten,
// and removed only by the retention rule the user can see and change (retention.txt in the
// root). A checksum over the whole file lets a damaged or edited snapshot be refused when used.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/radio/radio_data.h"

namespace zt {

// Wall-clock time in seconds since 1970-01-01 UTC. The programs use the system clock, tests a
// fixed one.
class WallClock {
  public:
    virtual ~WallClock() = default;
    virtual std::int64_t secondsSinceEpoch() const = 0;
};

class SystemWallClock final : public WallClock {
  public:
    std::int64_t secondsSinceEpoch() const override;
};

enum class SnapshotKind { Read, BeforeWrite, Written };

// "read", "before-write", "written".
const char* snapshotKindName(SnapshotKind kind);
std::optional<SnapshotKind> snapshotKindFromName(const std::string& name);

// What tells one radio from another as far as a read shows: its model, band and version as
// its identification reply gives them, and its serial number when it is known.
struct RadioIdentity {
    std::string model;    // "ZT-958FM"
    int band = 0;         // band code
    std::string version;  // radio's data version text, "V300"
    std::string serial;   // empty when not known

    friend bool operator==(const RadioIdentity&, const RadioIdentity&) = default;
};

// The folder name of a radio: "ZT-958FM_band0_V300", with "_SN<serial>" when the serial is
// known. Characters other than letters, digits, '-' and '.' become '_'.
std::string radioFolderName(const RadioIdentity& identity);

struct Snapshot {
    std::int64_t time = 0;  // seconds since 1970 UTC
    SnapshotKind kind = SnapshotKind::Read;
    std::string programVersion;
    RadioIdentity identity;
    std::vector<std::uint8_t> image;           // the memory image as read (or written)
    std::vector<std::uint8_t> identification;  // identification bytes as the radio sent them
    RadioDocument document;
};

// What a listing shows of a snapshot without reading all of it.
struct SnapshotInfo {
    std::filesystem::path file;
    std::string radio;  // folder name
    std::int64_t time = 0;
    SnapshotKind kind = SnapshotKind::Read;
    std::string programVersion;
    std::string problem;  // non-empty: the file's header cannot be read (and why)
};

// Keeps every snapshot younger than keepDays (0: all of them) and, whatever their age, the
// newest keepAtLeast of each radio.
struct RetentionRule {
    int keepDays = 365;
    int keepAtLeast = 20;
};

struct SnapshotLoad {
    std::optional<Snapshot> snapshot;
    std::string problem;  // why the file is refused
};

struct SnapshotSaved {
    std::filesystem::path file;                  // empty when it could not be stored
    std::string problem;                         // why it could not be stored
    std::vector<std::filesystem::path> removed;  // removed by the retention rule afterwards
};

// "2026-12-09 20:30:05 UTC".
std::string formatUtcTime(std::int64_t secondsSinceEpoch);

// $XDG_DATA_HOME/ztp958fm/radios when XDG_DATA_HOME is absolute, else
// $HOME/.local/share/ztp958fm/radios; empty when neither is known.
std::filesystem::path defaultSnapshotRoot(const std::function<const char*(const char*)>& env);

// The bytes of a snapshot file, and the snapshot read back from them.
std::vector<std::uint8_t> snapshotFileBytes(const Snapshot& snapshot);
SnapshotLoad parseSnapshot(const std::vector<std::uint8_t>& bytes);

class SnapshotStore {
  public:
    SnapshotStore(std::filesystem::path root, const WallClock& clock);

    const std::filesystem::path& root() const { return root_; }

    // Stores a snapshot taken now, then applies the retention rule to that radio's folder.
    SnapshotSaved store(SnapshotKind kind, const RadioIdentity& identity,
                        const std::vector<std::uint8_t>& image,
                        const std::vector<std::uint8_t>& identification,
                        const RadioDocument& document, const std::string& programVersion);

    // Folder names of the radios that have snapshots, sorted.
    std::vector<std::string> radios() const;
    // A radio's snapshots, newest first (headers only).
    std::vector<SnapshotInfo> list(const std::string& radio) const;
    // Every radio's snapshots, newest first.
    std::vector<SnapshotInfo> listAll() const;

    // Reads a whole snapshot file; a file that is damaged or was edited is refused with the
    // reason.
    static SnapshotLoad load(const std::filesystem::path& file);

    RetentionRule retention() const;
    // Writes the rule (whole file, then rename). False with `problem` set on failure.
    bool setRetention(const RetentionRule& rule, std::string& problem) const;
    // Removes the snapshots of one radio the rule does not keep; returns them.
    std::vector<std::filesystem::path> applyRetention(const std::string& radio) const;

  private:
    std::filesystem::path root_;
    const WallClock& clock_;
};

}  // namespace zt
