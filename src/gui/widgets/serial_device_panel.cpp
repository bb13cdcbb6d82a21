#include "gui/widgets/serial_device_panel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zt::gui {

namespace {

constexpr int kColumnCount = 6;

QString text(const std::string& s)
{
    return QString::fromStdString(s);
}

}  // namespace

PortHint portHintFor(const std::vector<SerialDevice>& devices, bool chosenPresent,
                     const DeviceAccessInfo& chosenAccess)
{
    if (devices.empty() && !chosenPresent) return PortHint::NoDevice;
    if (chosenPresent && chosenAccess.access == DeviceAccess::NoPermission)
        return chosenAccess.groupCanOpen ? PortHint::NeedsGroup : PortHint::AdministratorOnly;
    return PortHint::None;
}

SerialDevicePanel::SerialDevicePanel(QWidget* parent) : QWidget(parent)
{
    setObjectName("SerialDevicePanel");
    list_ = new QTreeWidget(this);
    list_->setObjectName("DeviceList");
    list_->setColumnCount(kColumnCount);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->setMinimumHeight(110);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { updateAssignButton(); });

    assign_ = new QPushButton(this);
    assign_->setObjectName("CommandAssign");
    connect(assign_, &QPushButton::clicked, this, [this] {
        const auto device = chosenDevice();
        if (device && onAssign) onAssign(*device);
    });

    hint_ = new QLabel(this);
    hint_->setObjectName("DeviceHint");
    hint_->setWordWrap(true);
    hint_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status_ = new QLabel(this);
    status_->setObjectName("AssignStatus");
    status_->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    buttons->addWidget(assign_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    layout->addWidget(hint_);
    hint_->hide();
    updateAssignButton();
}

void SerialDevicePanel::setTexts(const SerialDevicePanelTexts& texts)
{
    texts_ = texts;
    list_->setHeaderLabels({texts.device, texts.description, texts.manufacturer, texts.vidPid,
                            texts.serialNumber, texts.stablePath});
    assign_->setText(texts.assign);
}

void SerialDevicePanel::showDevices(const std::vector<SerialDevice>& devices)
{
    const auto chosen = chosenDevice();
    devices_ = devices;
    QSignalBlocker quiet(list_);
    list_->clear();
    for (const SerialDevice& d : devices_) {
        auto* item = new QTreeWidgetItem(
            list_, QStringList{text(d.path), text(d.description), text(d.manufacturer),
                               text(d.vidPid()), text(d.serialNumber), text(d.byIdPath)});
        for (int c = 0; c < kColumnCount; ++c) item->setToolTip(c, item->text(c));
    }
    if (chosen) chooseDevice(chosen->path);
    updateAssignButton();
}

void SerialDevicePanel::showHint(PortHint hint, const std::filesystem::path& chosen,
                                 const std::string& group)
{
    QString message;
    if (hint == PortHint::NoDevice) {
        message = texts_.noDevice;
    } else if (hint == PortHint::NeedsGroup || hint == PortHint::AdministratorOnly) {
        message = hint == PortHint::NeedsGroup ? texts_.needsGroup : texts_.administratorOnly;
        message.replace("%1", text(chosen.string()));
        message.replace("%2", text(group.empty() ? std::string("dialout") : group));
    }
    hint_->setText(message);
    hint_->setVisible(!message.isEmpty());
}

void SerialDevicePanel::showStatus(const QString& line)
{
    status_->setText(line);
}

std::optional<SerialDevice> SerialDevicePanel::chosenDevice() const
{
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    const int row = list_->indexOfTopLevelItem(selected.front());
    if (row < 0 || row >= static_cast<int>(devices_.size())) return std::nullopt;
    return devices_[static_cast<std::size_t>(row)];
}

bool SerialDevicePanel::chooseDevice(const std::string& path)
{
    for (std::size_t i = 0; i < devices_.size(); ++i) {
        if (devices_[i].path == path) {
            QTreeWidgetItem* item = list_->topLevelItem(static_cast<int>(i));
            list_->setCurrentItem(item);
            item->setSelected(true);
            return true;
        }
    }
    return false;
}

void SerialDevicePanel::setAssignAllowed(bool allowed)
{
    assignAllowed_ = allowed;
    updateAssignButton();
}

void SerialDevicePanel::updateAssignButton()
{
    assign_->setEnabled(assignAllowed_ && !list_->selectedItems().isEmpty());
}

}  // namespace zt::gui
