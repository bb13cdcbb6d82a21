#include "gui/settings/port_settings_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/files/ini_profile.h"
#include "core/files/settings.h"
#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/widgets/common_buttons.h"
#include "gui/widgets/serial_device_panel.h"
#include "platform/port_table.h"
#include "platform/qt_serial_devices.h"

namespace zt::gui {
namespace {

constexpr int kColumns = 4;
constexpr int kRows = 4;
constexpr int kDeviceLabelWidth = 170;  // longer descriptions are elided, whole in the tool tip

PortSettingsDialog::PortSource platformPorts(const AppContext& app)
{
    const std::filesystem::path ini = app.paths.mySetupIni();
    PortSettingsDialog::PortSource s;
    s.availability = [ini] { return comAvailability(ini); };
    s.deviceName = [ini](int number) {
        return QString::fromStdString(comDevice(number, ini).string());
    };
    auto system = std::make_shared<SystemSerialDevices>();
    s.devices = [system] { return system->devices(); };
    s.access = [system](const std::filesystem::path& device) { return system->access(device); };
    return s;
}

}  // namespace

PortSettingsDialog::PortSettingsDialog(AppContext& app, QWidget* parent)
    : PortSettingsDialog(app, platformPorts(app), parent)
{
}

PortSettingsDialog::PortSettingsDialog(AppContext& app, PortSource source, QWidget* parent)
    : QDialog(parent), app_(app), source_(std::move(source))
{
    setObjectName("FrmSetComm");
    build();
    // Window load: captions, availability, the stored port's button (also
    // when it is disabled; a number outside 1..16 selects none), the timer.
    applyLanguageTexts();
    refreshAvailability();
    if (app_.comPort >= 1 && app_.comPort <= kPortCount) {
        options_[static_cast<std::size_t>(app_.comPort - 1)]->setChecked(true);
        // The list starts at the device the port in use reaches.
        if (source_.deviceName)
            if (const SerialDevice* d =
                    findDevice(present_, source_.deviceName(app_.comPort).toStdString()))
                devices_->chooseDevice(d->path);
    }
    timer_->start();
}

PortSettingsDialog::~PortSettingsDialog() = default;

void PortSettingsDialog::build()
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    frame_ = new QGroupBox(this);
    frame_->setObjectName("Frame1");
    auto* grid = new QGridLayout(frame_);
    grid->setHorizontalSpacing(16);
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    for (int k = 0; k < kPortCount; ++k) {
        auto* b = new QRadioButton(frame_);
        b->setObjectName(QString("Option1_%1").arg(k));
        // COM1..COM4 down the first column, COM5..COM8 the second, and so
        // on; each button with its device line beside it.
        grid->addWidget(b, k % kRows, 2 * (k / kRows));
        group_->addButton(b, k);
        options_[static_cast<std::size_t>(k)] = b;
        auto* device = new QLabel(frame_);
        device->setObjectName(QString("DeviceLabel_%1").arg(k));
        device->setFixedWidth(kDeviceLabelWidth);
        grid->addWidget(device, k % kRows, 2 * (k / kRows) + 1);
        deviceLabels_[static_cast<std::size_t>(k)] = device;
    }
    static_assert(kColumns * kRows == kPortCount);
    connect(group_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (!checked) return;
        devices_->setAssignAllowed(selectedPort() > 0);
        showHint();
    });

    deviceFrame_ = new QGroupBox(this);
    deviceFrame_->setObjectName("Frame2");
    devices_ = new SerialDevicePanel(deviceFrame_);
    devices_->onAssign = [this](const SerialDevice& device) { assignDevice(device); };
    auto* deviceLayout = new QVBoxLayout(deviceFrame_);
    deviceLayout->addWidget(devices_);

    const OkCancelButtons okCancel = newOkCancelButtons(*this);
    ok_ = okCancel.ok;
    cancel_ = okCancel.cancel;
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, [this] { commandOkClick(); });

    auto* buttons = buttonRow({ok_, cancel_});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame_);
    layout->addWidget(deviceFrame_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    timer_ = new QTimer(this);
    timer_->setObjectName("ReCommTimer");
    timer_->setInterval(kRefreshMs);
    connect(timer_, &QTimer::timeout, this, [this] { refreshPortList(); });
}

QRadioButton* PortSettingsDialog::option(int index) const
{
    if (index < 0 || index >= kPortCount) return nullptr;
    return options_[static_cast<std::size_t>(index)];
}

QLabel* PortSettingsDialog::deviceLabel(int index) const
{
    if (index < 0 || index >= kPortCount) return nullptr;
    return deviceLabels_[static_cast<std::size_t>(index)];
}

int PortSettingsDialog::selectedPort() const
{
    // The last selected button wins, should several ever be set.
    int selected = 0;
    for (int k = 0; k < kPortCount; ++k)
        if (options_[static_cast<std::size_t>(k)]->isChecked()) selected = k + 1;
    return selected;
}

void PortSettingsDialog::applyLanguageTexts()
{
    setWindowTitle(app_.text(text::port::ComPortWindowCaption));
    frame_->setTitle(app_.text(text::port::ComPortFrameCaption));
    const QString prefix = app_.text(text::port::ComPortOptionButton);
    for (int k = 0; k < kPortCount; ++k)
        options_[static_cast<std::size_t>(k)]->setText(prefix + QString::number(k + 1));
    captionCommonButtons(*this, app_.texts.lookup());

    deviceFrame_->setTitle(app_.text(text::port::DevicesFrameCaption));
    SerialDevicePanelTexts texts;
    texts.device = app_.text(text::port::DeviceHeadingNode);
    texts.description = app_.text(text::port::DeviceHeadingDescription);
    texts.manufacturer = app_.text(text::port::DeviceHeadingManufacturer);
    texts.vidPid = app_.text(text::port::DeviceHeadingUsbIds);
    texts.serialNumber = app_.text(text::port::DeviceHeadingSerialNumber);
    texts.stablePath = app_.text(text::port::DeviceHeadingByIdPath);
    texts.assign = app_.text(text::port::AssignDeviceButton);
    texts.noDevice = app_.text(text::port::NoDeviceFound);
    texts.needsGroup = app_.text(text::port::DeviceNeedsGroup);
    texts.administratorOnly = app_.text(text::msg::AdministratorOnly);
    devices_->setTexts(texts);
    showHint();
}

void PortSettingsDialog::refreshAvailability()
{
    std::array<bool, kPortCount> available{};
    if (app_.osIsVista) {
        available.fill(true);  // that system lists its ports unreliably: offer all
    } else if (source_.availability) {
        available = source_.availability();
    }
    for (int k = 0; k < kPortCount; ++k) {
        QRadioButton* b = options_[static_cast<std::size_t>(k)];
        b->setEnabled(available[static_cast<std::size_t>(k)]);
        if (source_.deviceName) b->setToolTip(source_.deviceName(k + 1));
    }
    available_ = available;
    refreshDevices();
}

void PortSettingsDialog::refreshDevices()
{
    present_ = source_.devices ? source_.devices() : std::vector<SerialDevice>{};
    for (int k = 0; k < kPortCount; ++k) {
        QLabel* label = deviceLabels_[static_cast<std::size_t>(k)];
        const QString configured = source_.deviceName ? source_.deviceName(k + 1) : QString();
        const DeviceSummary summary = summarizeDevice(present_, configured.toStdString());
        QString line = QString::fromStdString(summary.device);
        if (!summary.description.empty())
            line += QString::fromUtf8(" \u2014 ") + QString::fromStdString(summary.description);
        label->setText(label->fontMetrics().elidedText(line, Qt::ElideRight, kDeviceLabelWidth));
        label->setToolTip(
            configured == QString::fromStdString(summary.device) ? line : line + "\n" + configured);
        label->setEnabled(available_[static_cast<std::size_t>(k)]);
    }
    devices_->showDevices(present_);
    devices_->setAssignAllowed(selectedPort() > 0);
    showHint();
}

void PortSettingsDialog::showHint()
{
    const int port = selectedPort();
    std::filesystem::path chosen;
    DeviceAccessInfo access;
    bool chosenPresent = false;
    if (port > 0 && source_.deviceName) {
        chosen = source_.deviceName(port).toStdString();
        chosenPresent = available_[static_cast<std::size_t>(port - 1)];
        if (chosenPresent && source_.access) access = source_.access(chosen);
    }
    devices_->showHint(portHintFor(present_, chosenPresent, access), chosen, access.group);
}

void PortSettingsDialog::assignDevice(const SerialDevice& device)
{
    const int port = selectedPort();
    if (port == 0) return;
    const std::string path = device.assignablePath();
    // The assignment is written at once so the port list shows what it reaches; Cancel
    // writes the entry back as it was.
    entriesBefore_.try_emplace(
        port, readProfileString(app_.paths.mySetupIni(), kPortsSection, comPortName(port), ""));
    if (!registerComDevice(app_.paths.mySetupIni(), port, path)) {
        // Nothing changed: say so rather than show an assignment that is not kept.
        Message m;
        m.textId = text::msg::PortAssignmentNotWritten;
        m.text = "\n" + app_.paths.mySetupIni().string();
        m.icon = Icon::Error;
        app_.prompt->ask(m);
        return;
    }
    devices_->showStatus(
        app_.text(text::port::AssignmentDone)
            .arg(QString::fromStdString(comPortName(port)), QString::fromStdString(path)));
    refreshPortList();
}

void PortSettingsDialog::refreshPortList()
{
    const int selected = selectedPort();
    refreshAvailability();
    if (selected > 0) options_[static_cast<std::size_t>(selected - 1)]->setChecked(true);
}

void PortSettingsDialog::commandOkClick()
{
    const int selected = selectedPort();
    if (selected > 0) {
        app_.comPort = selected;
        if (!saveComPort(app_.paths, selected))
            app_.prompt->ask(settingsNotSaved(app_.paths.mySetupIni().string()));
    }
    accept();
}

void PortSettingsDialog::done(int result)
{
    timer_->stop();
    if (result != QDialog::Accepted) {
        for (const auto& [port, before] : entriesBefore_)
            if (!writeProfileString(app_.paths.mySetupIni(), kPortsSection, comPortName(port),
                                    before))
                app_.prompt->ask(settingsNotSaved(app_.paths.mySetupIni().string()));
    }
    entriesBefore_.clear();
    QDialog::done(result);
}

}  // namespace zt::gui
