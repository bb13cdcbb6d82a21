#pragma once

// The virtual radio's memory file: read at start, and saved in the background
// while the host writes, so that a save never holds up the line.

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

#include "core/link/virtual_radio.h"

namespace zt {

enum class MemoryFileLoad {
    Loaded,     // the file held a whole memory, now in `memory`
    Missing,    // no such file; `memory` is unchanged
    WrongSize,  // the file is not a radio memory file; `memory` is unchanged
};

MemoryFileLoad loadMemoryFile(const std::filesystem::path& file, RadioMemory& memory);

// Replaces `file` with `memory` as a whole (never half written). True when
// the file was written; an empty path asks for no file and is true.
[[nodiscard]] bool saveMemoryFile(const std::filesystem::path& file, const RadioMemory& memory);

// Saves snapshots of the memory on a thread of its own. The latest snapshot
// wins: snapshots taken while a save runs are folded into the next one.
class MemorySaver {
  public:
    // `failed` runs on the saving thread after each save that did not reach
    // the disk. With an empty `file` nothing is ever saved.
    explicit MemorySaver(std::filesystem::path file,
                         std::function<void(const std::filesystem::path&)> failed = {});
    // Finishes the save asked for last, then stops the thread.
    ~MemorySaver();
    MemorySaver(const MemorySaver&) = delete;
    MemorySaver& operator=(const MemorySaver&) = delete;

    // Asks for `memory` to be saved and returns at once.
    void save(const RadioMemory& memory);
    // Saves `memory` and returns once it was written (or failed). True when
    // the file now holds it.
    [[nodiscard]] bool saveAndWait(const RadioMemory& memory);
    // How many saves did not reach the disk so far.
    std::uint64_t failedSaves() const;

  private:
    void loop();

    std::filesystem::path file_;
    std::function<void(const std::filesystem::path&)> failed_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    RadioMemory snapshot_{};
    std::uint64_t wanted_ = 0;  // generation of the latest snapshot
    std::uint64_t done_ = 0;    // generation last saved (or failed)
    bool lastOk_ = true;        // whether the save of generation done_ succeeded
    std::uint64_t failures_ = 0;
    bool quit_ = false;
    std::thread thread_;
};

}  // namespace zt
