#pragma once

// The information tool's host on this machine: its serial port, timers and
// port table, the system's date form and the locale's language.

#include <filesystem>
#include <memory>

#include "gui/infotool/info_tool_window.h"
#include "platform/qt_timers.h"
#include "platform/serial_link_port.h"

namespace zt::infotool {

// The tool's settings file: "mysetup.ini" in the folder of its executable.
std::filesystem::path settingsIniOf(const std::filesystem::path& programDir);

// The language of the system locale (LC_ALL, LC_MESSAGES or LANG).
int systemLanguage();

// Owns the serial port and the timers the window works with and wires the
// port's receive event to the window.
class SystemHost {
  public:
    explicit SystemHost(std::filesystem::path settingsIni);

    // The host for a window: port table of `settingsIni` (its "ports"
    // entries name the devices), today's date in the system's short form.
    InfoToolHost host(gui::PromptService& prompt, int language);
    // Delivers the port's received bytes to `window`.
    void connect(InfoToolWindow& window);

    SerialLinkPort& port() { return port_; }

  private:
    std::filesystem::path ini_;
    SerialLinkPort port_;
    QtTimerFactory timers_;
};

}  // namespace zt::infotool
