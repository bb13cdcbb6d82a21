#pragma once

// The words of a serial-port failure: why a port could not be opened (the
// device is missing, the user lacks the permission, another program holds
// it) and what to do about it. Pure text composition from facts gathered
// elsewhere, so it is tested without any device.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/files/language.h"
#include "core/text_ids.h"

namespace zt {

enum class PortProblem {
    NoDeviceSet,        // the port names no device
    Missing,            // the device does not exist
    NoPermission,       // the user is not in the group that owns the device
    AdministratorOnly,  // no group's members may read and write it: only root can open it
    NewLoginNeeded,     // the user was added to that group since logging in
    InUse,              // another program has the device open
    Other,              // anything else: the system's reason says what
};

struct PortFacts {
    std::string device;  // "/dev/ttyUSB0"
    PortProblem problem = PortProblem::Other;
    std::string group;                       // owner group of the device (permission problems)
    std::vector<std::string> existingPorts;  // serial ports that exist (a missing device)
    std::string systemReason;                // the system's own words, may be empty
    std::string udevRule;  // AdministratorOnly: the rule line giving dialout access, may be empty
};

// The group serial devices usually belong to.
constexpr const char* kUsualSerialGroup = "dialout";

// The shell command that adds the current user to `group`.
std::string joinGroupCommand(const std::string& group);

// The udev rule line that gives the group dialout read and write access to a
// serial device: by its USB vendor and product id when both are known, else
// by its kernel name ("ttyS0"). Empty for a pseudo-terminal ("pts/3"), which
// udev does not manage.
std::string dialoutUdevRule(const std::string& kernelName, std::optional<std::uint16_t> vendorId,
                            std::optional<std::uint16_t> productId);

// The explanation of a failed open, one sentence a line, in the language of
// `text`. Ids the lookup does not know (or an empty lookup) fall back to the
// built-in English texts.
std::string explainPortFailure(const PortFacts& facts, const TextLookup& text);

// Built-in texts of the ids above for programs without language files:
// language 1 English, 2 Chinese. Other ids give "".
std::string builtInPortText(int id, int language);
TextLookup builtInPortTexts(int language);

}  // namespace zt
