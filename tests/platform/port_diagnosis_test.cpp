// Why a serial port could not be opened, and what the user is told to do.

#include "platform/port_diagnosis.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "core/files/ini_profile.h"
#include "platform/port_diagnosis_text.h"
#include "platform/port_table.h"
#include "support/fake_serial_devices.h"

namespace zt {
namespace {

namespace fs = std::filesystem;

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

PortFacts facts(PortProblem problem)
{
    PortFacts f;
    f.device = "/dev/ttyUSB0";
    f.problem = problem;
    return f;
}

TEST(PortDiagnosisText, AMissingDeviceIsNamedWithThePortsThatExist)
{
    PortFacts f = facts(PortProblem::Missing);
    f.existingPorts = {"/dev/ttyS0", "/dev/ttyUSB1"};
    f.systemReason = "No such file or directory";
    const std::string text = explainPortFailure(f, {});
    EXPECT_TRUE(contains(text, "/dev/ttyUSB0 does not exist")) << text;
    EXPECT_TRUE(contains(text, "/dev/ttyS0, /dev/ttyUSB1")) << text;
    EXPECT_TRUE(contains(text, "The system reports: No such file or directory")) << text;

    f.existingPorts.clear();
    const std::string none = explainPortFailure(f, {});
    EXPECT_TRUE(contains(none, "No serial port was found")) << none;
    EXPECT_FALSE(contains(none, "Serial ports on this computer")) << none;
}

TEST(PortDiagnosisText, PermissionNamesTheGroupTheCommandAndTheNewLogin)
{
    PortFacts f = facts(PortProblem::NoPermission);
    f.group = "uucp";
    const std::string text = explainPortFailure(f, {});
    EXPECT_TRUE(contains(text, "/dev/ttyUSB0")) << text;
    EXPECT_TRUE(contains(text, "\"uucp\"")) << text;
    EXPECT_TRUE(contains(text, "sudo usermod -aG uucp $USER")) << text;
    EXPECT_TRUE(contains(text, "log in again")) << text;

    // A group that could not be read: the usual one.
    f.group.clear();
    EXPECT_TRUE(contains(explainPortFailure(f, {}), "sudo usermod -aG dialout $USER"));

    PortFacts waiting = facts(PortProblem::NewLoginNeeded);
    waiting.group = "dialout";
    const std::string login = explainPortFailure(waiting, {});
    EXPECT_TRUE(contains(login, "log out and log in again")) << login;
    EXPECT_FALSE(contains(login, "usermod")) << login;
}

TEST(PortDiagnosisText, OtherCasesSayWhatHappened)
{
    EXPECT_TRUE(contains(explainPortFailure(facts(PortProblem::InUse), {}),
                         "/dev/ttyUSB0 is in use by another program"));
    EXPECT_EQ(explainPortFailure(facts(PortProblem::NoDeviceSet), {}),
              "No serial device is set for this port.");
    PortFacts other = facts(PortProblem::Other);
    other.systemReason = "Input/output error";
    EXPECT_EQ(explainPortFailure(other, {}),
              "/dev/ttyUSB0 could not be opened.\nThe system reports: Input/output error");
}

TEST(PortDiagnosisText, FollowsTheLanguageAndFallsBackToEnglish)
{
    PortFacts f = facts(PortProblem::InUse);
    const std::string chinese = explainPortFailure(f, builtInPortTexts(2));
    EXPECT_TRUE(contains(chinese, "/dev/ttyUSB0 正被另一个程序占用")) << chinese;
    // A language file without the text: English rather than nothing.
    const std::string english = explainPortFailure(f, [](int) { return std::string(); });
    EXPECT_TRUE(contains(english, "in use by another program")) << english;
}

TEST(PortDiagnosisText, ADeviceNameIsInsertedAsItStands)
{
    PortFacts f = facts(PortProblem::NoPermission);
    f.device = "/dev/odd%2name";
    f.group = "dialout";
    const std::string text = explainPortFailure(f, {});
    EXPECT_TRUE(contains(text, "/dev/odd%2name:")) << text;
}

TEST(PortDiagnosisText, LanguageFilesHoldTheToolsBuiltInTexts)
{
    // The information tool carries the same words as the language files.
    const fs::path dir = fs::path(ZT_SOURCE_DIR) / "data" / "language";
    std::vector<int> ids{text::msg::AdministratorOnly, text::msg::UdevRuleHint};
    for (int id = text::msg::PortLost; id <= text::msg::SystemReports; ++id) ids.push_back(id);
    for (const int id : ids) {
        EXPECT_EQ(readProfileString(dir / "english.ini", "Msg", std::to_string(id), ""),
                  builtInPortText(id, 1))
            << id;
        EXPECT_EQ(readProfileString(dir / "chinese.ini", "Msg", std::to_string(id), ""),
                  builtInPortText(id, 2))
            << id;
    }
}

// A device node as stat(2) shows it to a user who may not open it.
DeniedDevice denied(const std::string& group, unsigned mode, const std::string& kernelName)
{
    DeniedDevice node;
    node.group = group;
    node.mode = mode;
    node.kernelName = kernelName;
    return node;
}

PortFacts describe(const DeniedDevice& node, const std::string& device = "/dev/ttyS0")
{
    PortFacts f;
    f.device = device;
    describeDeniedDevice(node, f);
    return f;
}

TEST(PortDiagnosis, ADeviceNoGroupMayOpenIsTheAdministratorsWithTheUdevRuleThatWouldOpenIt)
{
    // crw------- root root (/dev/ttyS0): joining root would be wrong advice.
    const PortFacts serial = describe(denied("root", 020600, "ttyS0"));
    EXPECT_EQ(serial.problem, PortProblem::AdministratorOnly);
    EXPECT_EQ(serial.udevRule,
              "SUBSYSTEM==\"tty\", KERNEL==\"ttyS0\", GROUP=\"dialout\", MODE=\"0660\"");
    const std::string text = explainPortFailure(serial, {});
    EXPECT_FALSE(contains(text, "usermod")) << text;
    EXPECT_TRUE(contains(text, "Only the administrator can open /dev/ttyS0")) << text;
    EXPECT_TRUE(contains(text, "\n    SUBSYSTEM==\"tty\", KERNEL==\"ttyS0\"")) << text;

    // A USB adapter is matched by its vendor and product id.
    DeniedDevice usb = denied("root", 020600, "ttyUSB0");
    usb.vendorId = 0x10c4;
    usb.productId = 0xea60;
    EXPECT_EQ(describe(usb).udevRule,
              "SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"10c4\", ATTRS{idProduct}==\"ea60\", "
              "GROUP=\"dialout\", MODE=\"0660\"");

    // Group root never counts, even where it may read and write; nor a group
    // that may read but not write (crw-r-----).
    EXPECT_EQ(describe(denied("root", 020660, "ttyS1")).problem, PortProblem::AdministratorOnly);
    EXPECT_EQ(describe(denied("dialout", 020640, "ttyS1")).problem, PortProblem::AdministratorOnly);

    // A pseudo-terminal made by root (crw--w---- root tty): udev has no rule
    // for it, so none is shown.
    const PortFacts pty = describe(denied("tty", 020620, "pts/3"), "/dev/pts/3");
    EXPECT_EQ(pty.problem, PortProblem::AdministratorOnly);
    EXPECT_TRUE(pty.udevRule.empty());
    const std::string ptyText = explainPortFailure(pty, {});
    EXPECT_FALSE(contains(ptyText, "usermod")) << ptyText;
    EXPECT_FALSE(contains(ptyText, "udev")) << ptyText;

    // crw-rw---- root dialout: joining the group is the way.
    const PortFacts group = describe(denied("dialout", 020660, "ttyUSB0"));
    EXPECT_EQ(group.problem, PortProblem::NoPermission);
    EXPECT_TRUE(contains(explainPortFailure(group, {}), "sudo usermod -aG dialout $USER"));
    DeniedDevice joined = denied("dialout", 020660, "ttyUSB0");
    joined.userListedInGroup = true;
    EXPECT_EQ(describe(joined).problem, PortProblem::NewLoginNeeded);
    joined.processHasGroup = true;  // in the group and still refused: not a login matter
    EXPECT_EQ(describe(joined).problem, PortProblem::NoPermission);
}

TEST(PortDiagnosis, KernelNameOfANodeALinkAndAPseudoTerminal)
{
    testing::FakeDeviceRig rig;
    rig.folder.plug("ttyUSB2");
    EXPECT_EQ(kernelNameOf(rig.folder.link("usb-Maker-if00-port0", "ttyUSB2")), "ttyUSB2");
    EXPECT_EQ(kernelNameOf("/dev/pts/3"), "pts/3");
}

TEST(PortDiagnosis, TellsAMissingDeviceAndListsTheExistingPorts)
{
    int listed = 0;
    const PortFacts f =
        diagnosePortOpenFailure("/dev/zt-no-such-serial-device", false, "gone", [&] {
            ++listed;
            return std::vector<std::string>{"/dev/ttyS0"};
        });
    EXPECT_EQ(f.problem, PortProblem::Missing);
    EXPECT_EQ(listed, 1);
    EXPECT_EQ(f.existingPorts, std::vector<std::string>{"/dev/ttyS0"});
    EXPECT_EQ(diagnosePortOpenFailure("", false, "").problem, PortProblem::NoDeviceSet);
}

TEST(PortDiagnosis, ExistingPortsAreTheNumbersWhoseDeviceIsThereElseTheListedDevices)
{
    testing::FakeDeviceRig rig;
    for (int n = 1; n <= kComPortCount; ++n)
        ASSERT_TRUE(writeProfileString(rig.ini, "ports", comPortName(n),
                                       (rig.folder.node("none")).string() + std::to_string(n)));
    // No number reaches a device: the devices the listing shows, by path.
    const std::string usb = rig.folder.plug("ttyUSB4");
    const std::string builtIn = rig.folder.plug("ttyS1");
    SerialDevice plain;
    plain.path = builtIn;
    rig.source.list = {plain, testing::usbAdapter(usb, "FT232R USB UART", 0x0403, 0x6001)};
    EXPECT_EQ(existingComPorts(rig.ini, rig.source), (std::vector<std::string>{usb, builtIn}));

    // Numbers that reach a device are named with it, in number order.
    ASSERT_TRUE(writeProfileString(rig.ini, "ports", "COM9", builtIn));
    ASSERT_TRUE(writeProfileString(rig.ini, "ports", "COM2", usb));
    EXPECT_EQ(existingComPorts(rig.ini, rig.source),
              (std::vector<std::string>{"COM2 (" + usb + ")", "COM9 (" + builtIn + ")"}));

    // Nothing listed and nothing reached: an empty list, not a stale one.
    rig.folder.unplug("ttyUSB4");
    rig.folder.unplug("ttyS1");
    rig.source.list.clear();
    EXPECT_TRUE(existingComPorts(rig.ini, rig.source).empty());
}

TEST(PortDiagnosis, TellsAMissingPermissionFromAPortInUse)
{
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/ttyFAKE0";
    std::ofstream(path) << "";

    // Readable and writable: a refusal means another program holds it.
    EXPECT_EQ(diagnosePortOpenFailure(path, true, "").problem, PortProblem::InUse);
    EXPECT_EQ(diagnosePortOpenFailure(path, false, "odd").problem, PortProblem::Other);

    if (::geteuid() == 0) GTEST_SKIP() << "root may open any device";
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    const PortFacts f = diagnosePortOpenFailure(path, true, "Permission denied");
    EXPECT_TRUE(f.problem == PortProblem::NoPermission || f.problem == PortProblem::NewLoginNeeded);
    EXPECT_FALSE(f.group.empty());
}

}  // namespace
}  // namespace zt
