#include "platform/port_diagnosis_text.h"

#include <array>
#include <cstdio>

namespace zt {

namespace {

struct BuiltIn {
    int id;
    const char* english;
    const char* chinese;
};

// Kept word for word equal to english.ini and chinese.ini.
constexpr std::array<BuiltIn, 13> kTexts{{
    {text::msg::PortLost,
     "The programming cable or its USB adapter was disconnected, so the transfer stopped. Plug "
     "it in again, then try again to start over.",
     "写频线或其 USB 转串口适配器已断开，传输已停止。请重新插好后再试一次，传输将从头开始。"},
    {text::msg::DeviceMissing, "The serial device %1 does not exist.", "串口设备 %1 不存在。"},
    {text::msg::PortsFound, "Serial ports on this computer: %1.", "本机现有的串口：%1。"},
    {text::msg::NoPortsFound,
     "No serial port was found on this computer. Plug in the programming cable and wait a "
     "moment.",
     "本机没有找到任何串口。请插好写频线，稍等片刻。"},
    {text::msg::NoPermission,
     "Your user may not use %1: the device belongs to the group \"%2\" and your user is not a "
     "member of it.",
     "当前用户无权使用 %1：该设备属于用户组“%2”，而当前用户不在该组中。"},
    {text::msg::JoinGroupHint,
     "To fix this, run the command below, then log out and log in again (the new group takes "
     "effect only after a new login):",
     "解决方法：运行下面的命令，然后注销并重新登录（重新登录后新的用户组才会生效）："},
    {text::msg::NewLoginNeeded,
     "Your user was added to the group \"%2\" that may use %1, but that takes effect only after a "
     "new login: log out and log in again (or restart the computer), then try again.",
     "当前用户已加入可使用 %1 "
     "的用户组“%2”，但需要重新登录才会生效：请注销并重新登录（或重启电脑）后再试。"},
    {text::msg::PortInUse,
     "%1 is in use by another program. Close that program (or another copy of this one) and try "
     "again.",
     "%1 正被另一个程序占用。请关闭该程序（或本程序的另一个窗口）后再试。"},
    {text::msg::NoDeviceSet, "No serial device is set for this port.", "此端口没有设置串口设备。"},
    {text::msg::CannotOpen, "%1 could not be opened.", "无法打开 %1。"},
    {text::msg::SystemReports, "The system reports: %1", "系统报告：%1"},
    {text::msg::AdministratorOnly,
     "Only the administrator can open %1: it belongs to the group \"%2\", whose members may not "
     "read and write it, so joining a group does not help.",
     "只有管理员才能打开 "
     "%1：该设备属于用户组“%2”，而该组成员无权读写它，因此加入用户组也无济于事。"},
    {text::msg::UdevRuleHint,
     "An administrator can give the group dialout access to it with this line in a file such as "
     "/etc/udev/rules.d/99-ztp958fm.rules (it takes effect when the cable is plugged in again; "
     "then join the group dialout if your user is not in it):",
     "管理员可以在 /etc/udev/rules.d/99-ztp958fm.rules 等文件中加入下面这一行，让 dialout "
     "用户组可以使用它（重新插上写频线后生效；若当前用户不在 dialout 组中，还需加入该组）："},
}};

// Replaces "%1" and "%2" in one pass, so a value holding "%2" stays as it is.
std::string fill(const std::string& pattern, const std::string& first,
                 const std::string& second = {})
{
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() &&
            (pattern[i + 1] == '1' || pattern[i + 1] == '2')) {
            out += pattern[i + 1] == '1' ? first : second;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::string joined(const std::vector<std::string>& items)
{
    std::string out;
    for (const auto& item : items) {
        if (!out.empty()) out += ", ";
        out += item;
    }
    return out;
}

}  // namespace

std::string builtInPortText(int id, int language)
{
    for (const BuiltIn& t : kTexts)
        if (t.id == id) return language == 2 ? t.chinese : t.english;
    return {};
}

TextLookup builtInPortTexts(int language)
{
    return [language](int id) { return builtInPortText(id, language); };
}

std::string joinGroupCommand(const std::string& group)
{
    return "sudo usermod -aG " + (group.empty() ? std::string(kUsualSerialGroup) : group) +
           " $USER";
}

std::string dialoutUdevRule(const std::string& kernelName, std::optional<std::uint16_t> vendorId,
                            std::optional<std::uint16_t> productId)
{
    const std::string access = std::string("GROUP=\"") + kUsualSerialGroup + "\", MODE=\"0660\"";
    if (vendorId && productId) {
        char ids[64];
        std::snprintf(ids, sizeof ids, "ATTRS{idVendor}==\"%04x\", ATTRS{idProduct}==\"%04x\"",
                      static_cast<unsigned>(*vendorId), static_cast<unsigned>(*productId));
        return std::string("SUBSYSTEM==\"tty\", ") + ids + ", " + access;
    }
    if (kernelName.empty() || kernelName.rfind("pts/", 0) == 0) return {};
    return "SUBSYSTEM==\"tty\", KERNEL==\"" + kernelName + "\", " + access;
}

std::string explainPortFailure(const PortFacts& facts, const TextLookup& text)
{
    auto say = [&text](int id) {
        std::string s = text ? text(id) : std::string();
        return s.empty() ? builtInPortText(id, 1) : s;
    };
    const std::string& device = facts.device;
    const std::string group = facts.group.empty() ? kUsualSerialGroup : facts.group;
    std::string out;
    switch (facts.problem) {
        case PortProblem::NoDeviceSet:
            return say(text::msg::NoDeviceSet);
        case PortProblem::Missing:
            out = fill(say(text::msg::DeviceMissing), device) + "\n" +
                  (facts.existingPorts.empty()
                       ? say(text::msg::NoPortsFound)
                       : fill(say(text::msg::PortsFound), joined(facts.existingPorts)));
            break;
        case PortProblem::NoPermission:
            out = fill(say(text::msg::NoPermission), device, group) + "\n" +
                  say(text::msg::JoinGroupHint) + "\n    " + joinGroupCommand(group);
            break;
        case PortProblem::AdministratorOnly:
            out = fill(say(text::msg::AdministratorOnly), device, facts.group);
            if (!facts.udevRule.empty())
                out += "\n" + say(text::msg::UdevRuleHint) + "\n    " + facts.udevRule;
            break;
        case PortProblem::NewLoginNeeded:
            out = fill(say(text::msg::NewLoginNeeded), device, group);
            break;
        case PortProblem::InUse:
            out = fill(say(text::msg::PortInUse), device);
            break;
        case PortProblem::Other:
            out = fill(say(text::msg::CannotOpen), device);
            break;
    }
    if (!facts.systemReason.empty())
        out += "\n" + fill(say(text::msg::SystemReports), facts.systemReason);
    return out;
}

}  // namespace zt
