#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace zt {

// POSIX only (posix_openpt); the virtual radio is built on such systems alone.
// The master side of a raw pseudo-terminal pair. The slave side is kept open
// by this object too, so the master keeps working while no client has the
// device open (a client may open, close and reopen it between transfers).
class PseudoTerminal {
  public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Opens a new pair in raw mode. On failure returns false and sets error().
    [[nodiscard]] bool open();
    void close();

    const std::string& devicePath() const { return path_; }
    const std::string& error() const { return error_; }
    int masterFd() const { return master_; }

    // Waits up to timeoutMs for bytes from the client; returns what arrived
    // (possibly nothing). Returns nothing at all on a hard error.
    std::optional<std::string> read(int timeoutMs);
    // Writes every byte (retrying short writes). When nobody has read the
    // device for so long that its buffer is full, the stale bytes waiting
    // there are discarded so that the writer never hangs. False on error.
    [[nodiscard]] bool write(std::span<const std::uint8_t> bytes);

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
    std::string error_;
};

}  // namespace zt
