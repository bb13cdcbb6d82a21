#include "gui/infotool/port_devices.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/edit/infotool_rules.h"
#include "gui/prompt/prompt_service.h"
#include "gui/widgets/serial_device_panel.h"
#include "platform/port_diagnosis_text.h"
#include "platform/port_table.h"

namespace zt::infotool {

namespace {

struct PortDeviceTexts {
    const char* button;
    const char* caption;
    const char* number;
    gui::SerialDevicePanelTexts panel;
    const char* close;
    const char* assigned;      // %1 port name, %2 device path
    const char* saveFailed;    // the file follows
    const char* noPermission;  // %1 group
    const char* noDevice;      // short form beside the port list
};

const PortDeviceTexts& textsOf(int language)
{
    static const PortDeviceTexts english{
        "&Ports...",
        "Serial devices",
        "Com Port:",
        {"Device", "Description", "Manufacturer", "VID:PID", "Serial number", "Stable path",
         "Assign to this COM port",
         "No serial device found. Check that the cable is plugged in, that \"dmesg\" shows the "
         "adapter, and that you are in its group (\"groups\", usually dialout).",
         "You may not open %1 (group \"%2\"). Join the group with: sudo usermod -aG %2 $USER - "
         "then log out and in again.",
         QString::fromStdString(builtInPortText(text::msg::AdministratorOnly, 1))},
        "Close",
        "%1 now stands for %2.",
        "The port assignment could not be saved in this file:",
        "no permission (group %1)",
        "No serial device found: check the cable, \"dmesg\" and your groups."};
    static const PortDeviceTexts chinese{
        "串口设备(&P)...",
        "串口设备",
        "串口选择:",
        {"设备", "描述", "制造商", "VID:PID", "序列号", "固定路径", "分配给此串口",
         "未找到串口设备。请检查写频线是否插好、\"dmesg\" 是否显示该适配器，以及您是否属于其用户组"
         "（\"groups\"，通常为 dialout）。",
         "您无权打开 %1（用户组 \"%2\"）。请用以下命令加入该组：sudo usermod -aG %2 "
         "$USER，然后注销并重新登录。",
         QString::fromStdString(builtInPortText(text::msg::AdministratorOnly, 2))},
        "关闭",
        "%1 现在对应 %2。",
        "无法将串口分配保存到此文件：",
        "无权限（用户组 %1）",
        "未找到串口设备：请检查写频线、\"dmesg\" 和您的用户组。"};
    return language == kChinese ? chinese : english;
}

}  // namespace

QString portDevicesButtonText(int language)
{
    return QString::fromUtf8(textsOf(language).button);
}

QString portDeviceLine(const PortDeviceSource& source, int number, int language)
{
    const PortDeviceTexts& t = textsOf(language);
    const std::vector<SerialDevice> devices =
        source.listDevices ? source.listDevices() : std::vector<SerialDevice>{};
    if (number < 1 || !source.portDevice)
        return devices.empty() ? QString::fromUtf8(t.noDevice) : QString();
    const std::filesystem::path configured = source.portDevice(number);
    const DeviceSummary summary = summarizeDevice(devices, configured);
    QString line = QString::fromStdString(summary.device);
    if (!summary.description.empty())
        line += QString::fromUtf8(" \u2014 ") + QString::fromStdString(summary.description);
    if (summary.present && source.access) {
        const DeviceAccessInfo access = source.access(configured);
        if (access.access == DeviceAccess::NoPermission)
            line +=
                QString::fromUtf8(" \u2014 ") +
                QString::fromUtf8(t.noPermission)
                    .arg(QString::fromStdString(access.group.empty() ? "dialout" : access.group));
    }
    return line;
}

PortDevicesDialog::PortDevicesDialog(PortDeviceSource source, gui::PromptService& prompt,
                                     int number, int language, QWidget* parent)
    : QDialog(parent), source_(std::move(source)), prompt_(prompt), language_(language)
{
    setObjectName("FrmPortDevices");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const PortDeviceTexts& t = textsOf(language_);
    setWindowTitle(QString::fromUtf8(t.caption));

    auto* numberLabel = new QLabel(QString::fromUtf8(t.number), this);
    number_ = new QComboBox(this);
    number_->setObjectName("ComboNumber");
    for (int n = 1; n <= kComPortCount; ++n)
        number_->addItem(QString::fromStdString(comPortName(n)), n);
    number_->setCurrentIndex(number >= 1 && number <= kComPortCount ? number - 1 : 0);
    connect(number_, &QComboBox::currentIndexChanged, this, [this] { refresh(); });

    panel_ = new gui::SerialDevicePanel(this);
    panel_->setTexts(t.panel);
    panel_->onAssign = [this](const SerialDevice& device) { assign(device); };

    close_ = new QPushButton(QString::fromUtf8(t.close), this);
    close_->setObjectName("CommandClose");
    close_->setAutoDefault(false);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(numberLabel);
    top->addWidget(number_);
    top->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(panel_);
    layout->addLayout(bottom);
    resize(760, 320);
    refresh();
}

int PortDevicesDialog::chosenNumber() const
{
    return number_->currentData().toInt();
}

void PortDevicesDialog::refresh()
{
    const std::vector<SerialDevice> devices =
        source_.listDevices ? source_.listDevices() : std::vector<SerialDevice>{};
    panel_->showDevices(devices);
    const std::filesystem::path chosen =
        source_.portDevice ? source_.portDevice(chosenNumber()) : std::filesystem::path();
    std::error_code ec;
    const bool present = !chosen.empty() && std::filesystem::exists(chosen, ec);
    DeviceAccessInfo access;
    if (present && source_.access) access = source_.access(chosen);
    panel_->showHint(gui::portHintFor(devices, present, access), chosen, access.group);
}

void PortDevicesDialog::assign(const SerialDevice& device)
{
    const PortDeviceTexts& t = textsOf(language_);
    const int number = chosenNumber();
    const std::string path = device.assignablePath();
    if (!registerComDevice(source_.settingsIni, number, path)) {
        // Nothing was kept: say so instead of showing a change that is not there.
        Message m;
        m.text = std::string(t.saveFailed) + "\n" + source_.settingsIni.string();
        m.icon = Icon::Error;
        prompt_.ask(m);
        return;
    }
    panel_->showStatus(
        QString::fromUtf8(t.assigned)
            .arg(QString::fromStdString(comPortName(number)), QString::fromStdString(path)));
    refresh();
}

}  // namespace zt::infotool
