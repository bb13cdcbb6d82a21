#include "gui/infotool/info_tool_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStandardItemModel>
#include <QStringList>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "core/edit/infotool_rules.h"
#include "core/files/ini_profile.h"
#include "gui/infotool/port_devices.h"
#include "gui/prompt/prompt_service.h"
#include "gui/text_codec.h"
#include "gui/widgets/accessible_names.h"
#include "gui/widgets/guarded_line_edit.h"
#include "gui/widgets/screen_placement.h"
#include "gui/widgets/twips.h"
#include "platform/port_diagnosis_text.h"

namespace zt::infotool {

namespace {

constexpr const char* kSection = "language";
constexpr const char* kComPortKey = "comPort";
constexpr int kFieldCount = 13;  // Text1(0..12)
constexpr int kSerialIndex = 1;
constexpr int kMaintenanceDateIndex = 3;
constexpr int kDescriptionIndex = 4;
constexpr int kVersionIndex = 5;
constexpr int kDescriptionLabel = 5;  // Label1(5) stands beside the description
constexpr int kDescriptionLimit = 96;
// A label ends 50 twips left of its field.
constexpr int kLabelGap = gui::twipsToPixels(50);
constexpr int kFieldWidth = 170;

// Text limits of Text1(0..12); the description's is kept by its own handler.
constexpr std::array<int, 13> kFieldLimits{4,  16, 16, 16, kDescriptionLimit, 16, 8, 4, 16,
                                           16, 16, 16, 4};

QString u8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString fieldName(const char* base, int k)
{
    return QString("%1_%2").arg(base).arg(k);
}

void addLabelledRow(QGridLayout& grid, QLabel* label, QWidget* w)
{
    const int row = grid.rowCount();
    grid.addWidget(label, row, 0);
    grid.addWidget(w, row, 1);
}

}  // namespace

InfoToolWindow::InfoToolWindow(InfoToolHost host, QWidget* parent)
    : QWidget(parent), host_(std::move(host))
{
    setObjectName("FrmMain");
    exchange_ = std::make_unique<InfoExchange>(*host_.port, *host_.timers);
    exchange_->finished = [this](InfoOutcome outcome) { exchangeFinished(outcome); };
    exchange_->takeRecord = [this](InfoToolRecord& r) {
        takeFieldsInto(r);
        batch_->writingRadio();
    };
    // A field left empty keeps what the radio holds unless the user chose to clear it.
    exchange_->overRadioValues = [this](InfoToolRecord& r, const InfoToolRecord& radio) {
        keepRadioValues(r, radio, batch_->running() ? batch_->fieldsToClear() : writeClears_);
    };
    exchange_->onBatchRadio = [this](int next) {
        batch_->radioWritten(next, exchange_->record().SerialNumber);
    };
    exchange_->onBatchWaiting = [this] { batch_->waitingForNextRadio(); };
    build();

    dealerFields_ = std::make_unique<DealerFieldEdits>(
        std::array<QLineEdit*, kDealerFields.size()>{fields_[8], fields_[9], fields_[10],
                                                     fields_[11], fields_[12]},
        host_.language, host_.prompt);
    batch_ = std::make_unique<BatchWrite>(
        *exchange_,
        BatchControls{readButton_, writeButton_, batchButton_, batchCount_, currentRadio_,
                      batchStatus_, fields_[kSerialIndex]},
        *dealerFields_, host_.prompt, host_.language, [this] { return preparePort(); });
}

bool InfoToolWindow::batchRunning() const
{
    return batch_->running();
}

InfoToolWindow::~InfoToolWindow()
{
    // No message may come from an exchange that ends with the window.
    closing_ = true;
    exchange_->finished = nullptr;
}

QLineEdit* InfoToolWindow::field(int k) const
{
    return k >= 0 && k < static_cast<int>(fields_.size()) ? fields_[static_cast<std::size_t>(k)]
                                                          : nullptr;
}

void InfoToolWindow::build()
{
    setWindowTitle(u8(kCaption));
    createFieldEdits();
    createDescriptionBox();
    createModelAndBandBoxes();
    createFieldLabels();

    auto* fieldsRow = new QHBoxLayout;
    fieldsRow->addLayout(buildRecordColumn());
    fieldsRow->addSpacing(16);
    fieldsRow->addLayout(buildDealerColumn(), 1);

    auto* root = new QVBoxLayout(this);
    root->addLayout(fieldsRow);
    root->addSpacing(8);
    root->addLayout(buildPortAndBatchRow());
    root->addLayout(buildPortDeviceRow());
    root->addLayout(buildCommandButtons());

    portTimer_ = new QTimer(this);
    portTimer_->setObjectName("ReShowComPortTimer");
    portTimer_->setInterval(kPortRefreshMs);
    connect(portTimer_, &QTimer::timeout, this, [this] { refreshPortList(); });
    connect(portTimer_, &QTimer::timeout, this, [this] { showPortDevice(); });
}

void InfoToolWindow::createFieldEdits()
{
    // Record texts are one byte per character: other characters are refused.
    for (int k = 0; k < kFieldCount; ++k) {
        if (k == kDescriptionIndex) continue;
        // The serial number takes digits only, through its own key check.
        QLineEdit* e = k == kSerialIndex ? new QLineEdit(this) : gui::newOneByteTextBox(this);
        e->setObjectName(fieldName("Text1", k));
        e->setMaxLength(kFieldLimits[static_cast<std::size_t>(k)]);
        e->setMinimumWidth(kFieldWidth);
        e->installEventFilter(this);
        fields_[static_cast<std::size_t>(k)] = e;
    }
    // Serial number: digits typed one by one, nothing pasted or dropped in.
    fields_[kSerialIndex]->setContextMenuPolicy(Qt::NoContextMenu);
    fields_[kSerialIndex]->setAcceptDrops(false);
    // The version is shown only.
    fields_[kVersionIndex]->setReadOnly(true);
}

void InfoToolWindow::createDescriptionBox()
{
    description_ = new QPlainTextEdit(this);
    description_->setObjectName(fieldName("Text1", kDescriptionIndex));
    description_->setTabChangesFocus(true);
    description_->setMinimumWidth(kFieldWidth);
    description_->setFixedHeight(4 * description_->fontMetrics().lineSpacing() + 12);
    description_->installEventFilter(this);
    connect(description_, &QPlainTextEdit::textChanged, this, [this] { keepDescriptionShort(); });
}

void InfoToolWindow::keepDescriptionShort()
{
    // At most 96 characters, each of one byte.
    const QString text = description_->toPlainText();
    QString kept;
    for (QChar c : text)
        if (c.unicode() <= 0xFF && kept.size() < kDescriptionLimit) kept.append(c);
    if (kept == text) return;
    QTextCursor cursor = description_->textCursor();
    const int position =
        std::min<int>(static_cast<int>(cursor.position()), static_cast<int>(kept.size()));
    const QSignalBlocker block(description_);
    description_->setPlainText(kept);
    cursor = description_->textCursor();
    cursor.setPosition(position);
    description_->setTextCursor(cursor);
}

void InfoToolWindow::createModelAndBandBoxes()
{
    auto create = [this](int k) {
        auto* c = new QComboBox(this);
        c->setObjectName(fieldName("Combo1", k));
        c->setLineEdit(gui::newOneByteTextBox(c));
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setMinimumWidth(kFieldWidth);
        return c;
    };
    modelBox_ = create(0);
    bandBox_ = create(1);
    bandBox_->addItem(u8(infoBandText(0)));
}

void InfoToolWindow::createFieldLabels()
{
    for (int k = 0; k < kFieldLabelCount; ++k) {
        auto* l = new QLabel(this);
        l->setObjectName(fieldName("Label1", k));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        fieldLabels_[static_cast<std::size_t>(k)] = l;
    }
    fieldLabels_[kDescriptionLabel]->setAlignment(Qt::AlignRight | Qt::AlignTop);
    areaLabel_ = new QLabel(this);
    areaLabel_->setObjectName("Label2");
    areaLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

QLayout* InfoToolWindow::buildRecordColumn()
{
    // Identity, serial number, dates and codes.
    auto* column = new QGridLayout;
    column->setHorizontalSpacing(kLabelGap);
    addLabelledRow(*column, fieldLabels_[0], modelBox_);
    addLabelledRow(*column, fieldLabels_[1], bandBox_);
    addLabelledRow(*column, fieldLabels_[2], fields_[1]);
    addLabelledRow(*column, fieldLabels_[3], fields_[2]);
    addLabelledRow(*column, fieldLabels_[4], fields_[3]);
    addLabelledRow(*column, fieldLabels_[6], fields_[5]);
    addLabelledRow(*column, fieldLabels_[7], fields_[6]);
    addLabelledRow(*column, fieldLabels_[8], fields_[7]);
    addLabelledRow(*column, areaLabel_, fields_[0]);
    addLabelledRow(*column, fieldLabels_[13], fields_[12]);
    column->setRowStretch(column->rowCount(), 1);
    return column;
}

QLayout* InfoToolWindow::buildDealerColumn()
{
    // Maintenance description, the dealer's frame, option flags.
    auto* descriptionGrid = new QGridLayout;
    descriptionGrid->setHorizontalSpacing(kLabelGap);
    addLabelledRow(*descriptionGrid, fieldLabels_[kDescriptionLabel], description_);

    auto* column = new QVBoxLayout;
    column->addLayout(descriptionGrid);
    column->addWidget(buildDealerFrame());
    column->addLayout(buildOptionBoxes());
    column->addStretch(1);
    return column;
}

QGroupBox* InfoToolWindow::buildDealerFrame()
{
    // Dealer code, stock-in date, sale date and seller: labels 9 to 12, fields 8 to 11.
    dealerFrame_ = new QGroupBox(this);
    dealerFrame_->setObjectName("Frame2");
    auto* grid = new QGridLayout(dealerFrame_);
    grid->setHorizontalSpacing(kLabelGap);
    for (int k = 0; k < 4; ++k) {
        QLabel* label = fieldLabels_[static_cast<std::size_t>(9 + k)];
        QLineEdit* edit = fields_[static_cast<std::size_t>(8 + k)];
        label->setParent(dealerFrame_);
        edit->setParent(dealerFrame_);
        addLabelledRow(*grid, label, edit);
    }
    return dealerFrame_;
}

QLayout* InfoToolWindow::buildOptionBoxes()
{
    auto* row = new QHBoxLayout;
    for (int k = 0; k < kOptionCount; ++k) {
        auto* c = new QCheckBox(this);
        c->setObjectName(QString("Check%1").arg(k + 1));
        row->addWidget(c);
        optionBoxes_[static_cast<std::size_t>(k)] = c;
    }
    row->addStretch(1);
    return row;
}

QLayout* InfoToolWindow::buildPortAndBatchRow()
{
    // Port, batch count, current radio and the batch status.
    portLabel_ = new QLabel(this);
    portLabel_->setObjectName("Label3");
    portList_ = new QComboBox(this);
    portList_->setObjectName("Combo2");
    portList_->setMinimumWidth(90);
    connect(portList_, &QComboBox::activated, this, [this](int index) { choosePort(index); });
    connect(portList_, &QComboBox::activated, this, [this] { showPortDevice(); });

    countLabel_ = new QLabel(this);
    countLabel_->setObjectName("Label4");
    currentLabel_ = new QLabel(this);
    currentLabel_->setObjectName("Label5");
    batchCount_ = gui::newOneByteTextBox(this);
    batchCount_->setObjectName(fieldName("Text2", 0));
    batchCount_->setMaximumWidth(56);
    batchCount_->setMaxLength(kCountMaxLength);
    batchCount_->setText("10");
    currentRadio_ = new QLineEdit(this);
    currentRadio_->setObjectName(fieldName("Text2", 1));
    currentRadio_->setMaximumWidth(56);
    currentRadio_->setReadOnly(true);
    currentRadio_->setText("0");
    batchStatus_ = new QLabel(this);
    batchStatus_->setObjectName("Label6");
    batchStatus_->setMinimumWidth(160);

    auto* row = new QHBoxLayout;
    row->setSpacing(kLabelGap);
    row->addWidget(portLabel_);
    row->addWidget(portList_);
    row->addSpacing(16);
    row->addWidget(countLabel_);
    row->addWidget(batchCount_);
    row->addSpacing(16);
    row->addWidget(currentLabel_);
    row->addWidget(currentRadio_);
    row->addSpacing(16);
    row->addWidget(batchStatus_, 1);
    return row;
}

QLayout* InfoToolWindow::buildPortDeviceRow()
{
    // The chosen number's device, and the window to assign devices.
    portDevice_ = new QLabel(this);
    portDevice_->setObjectName("PortDevice");
    portDevice_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    portsButton_ = new QPushButton(this);
    portsButton_->setObjectName("CommandPorts");
    portsButton_->setAutoDefault(false);
    connect(portsButton_, &QPushButton::clicked, this, [this] { showPortDevices(); });
    auto* row = new QHBoxLayout;
    row->addWidget(portDevice_, 1);
    row->addWidget(portsButton_);
    return row;
}

QLayout* InfoToolWindow::buildCommandButtons()
{
    auto create = [this](int number) {
        auto* b = new QPushButton(this);
        b->setObjectName(QString("Command%1").arg(number));
        b->setAutoDefault(false);
        b->setMinimumWidth(100);
        return b;
    };
    // Created in the order of the row, which is the order of the Tab key.
    readButton_ = create(1);
    writeButton_ = create(2);
    batchButton_ = create(4);
    exitButton_ = create(3);
    connect(readButton_, &QPushButton::clicked, this, [this] { readFromRadio(); });
    connect(writeButton_, &QPushButton::clicked, this, [this] { writeToRadio(); });
    connect(exitButton_, &QPushButton::clicked, this, [this] { exitTool(); });
    connect(batchButton_, &QPushButton::clicked, this, [this] { batchWrite(); });

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* b : {readButton_, writeButton_, batchButton_, exitButton_}) row->addWidget(b);
    return row;
}

void InfoToolWindow::applyTexts()
{
    const Texts& t = texts(host_.language);
    setWindowTitle(u8(kCaption));
    readButton_->setText(u8(t.read));
    writeButton_->setText(u8(t.write));
    exitButton_->setText(host_.language == kChinese ? QStringLiteral("退出(&X)")
                                                    : QStringLiteral("E&xit"));
    batchButton_->setText(u8(batch_ && batch_->running() ? t.stopMulWrite : t.mulWrite));
    countLabel_->setText(u8(t.radioCount));
    currentLabel_->setText(u8(t.radioNo));
    areaLabel_->setText(u8(t.areaCode));
    portLabel_->setText(u8(t.comPort));
    portsButton_->setText(portDevicesButtonText(host_.language));
    for (int k = 0; k < kFieldLabelCount; ++k)
        fieldLabels_[static_cast<std::size_t>(k)]->setText(
            u8(t.fieldLabels[static_cast<std::size_t>(k)]));
    dealerFrame_->setTitle(u8(t.dealerFrame));
    for (int k = 0; k < kOptionCount; ++k)
        optionBoxes_[static_cast<std::size_t>(k)]->setText(
            u8(t.options[static_cast<std::size_t>(k)]));
}

void InfoToolWindow::formLoad()
{
    const QDate today = host_.today ? host_.today() : QDate::currentDate();
    exchange_->record() = initialInfoToolRecord(
        CalendarDate{today.year(), today.month(), today.day()}, gui::toRecordText(todayText()));
    applyTexts();
    // The tool's language is fixed for the run: its controls are named once.
    gui::nameControls(*this, [](int) { return QString(); });
    if (host_.osVersionKnown && !host_.osVersionKnown()) message(texts(host_.language).unknownOs);
    batchStatus_->clear();

    const int stored =
        storedComPort(readProfileString(host_.settingsIni, kSection, kComPortKey, ""));
    fillPortList();
    std::vector<int> listed;
    for (int i = 0; i < portList_->count(); ++i)
        listed.push_back(portOfEntry(portList_->itemText(i).toStdString()));
    portNumber_ = startPort(stored, listed);
    if (portNumber_ != 0) {
        portList_->setCurrentIndex(
            portList_->findText(QString::fromStdString(portEntry(portNumber_))));
        rememberPort();
    } else {
        portList_->setCurrentIndex(-1);
    }

    bandBox_->setCurrentIndex(0);
    showRecord();
    showPortDevice();
    portTimer_->start();
}

void InfoToolWindow::fillPortList()
{
    const QSignalBlocker block(portList_);
    portList_->clear();
    if (!host_.listPorts) return;
    for (int n : host_.listPorts()) portList_->addItem(QString::fromStdString(portEntry(n)));
}

void InfoToolWindow::refreshPortList()
{
    // Only the list and the chosen number change; an open port stays as it is.
    fillPortList();
    const QSignalBlocker block(portList_);
    if (portNumber_ != 0) {
        const int current = portList_->findText(QString::fromStdString(portEntry(portNumber_)));
        if (current >= 0) {
            portList_->setCurrentIndex(current);
        } else {
            // The chosen device is gone (an adapter pulled out): the choice
            // stays, shown but not selectable, and is used again once the
            // device is back. Moving to another port would send the next
            // read to a device the user never chose.
            showChosenPortMissing();
        }
        return;
    }
    if (portList_->count() == 0) {
        portList_->setCurrentIndex(-1);
        return;
    }
    portList_->setCurrentIndex(0);
    portNumber_ = portOfEntry(portList_->currentText().toStdString());
}

void InfoToolWindow::showChosenPortMissing()
{
    const QString entry = QString::fromStdString(portEntry(portNumber_));
    // In number order among the listed ports.
    int at = 0;
    while (at < portList_->count() &&
           portOfEntry(portList_->itemText(at).toStdString()) < portNumber_)
        ++at;
    portList_->insertItem(at, entry);
    if (auto* model = qobject_cast<QStandardItemModel*>(portList_->model()))
        if (QStandardItem* item = model->item(at)) item->setEnabled(false);
    portList_->setCurrentIndex(at);
}

bool InfoToolWindow::portEntryEnabled(int index) const
{
    const auto* model = qobject_cast<const QStandardItemModel*>(portList_->model());
    if (model == nullptr || index < 0 || index >= portList_->count()) return false;
    const QStandardItem* item = model->item(index);
    return item != nullptr && item->isEnabled();
}

PortDeviceSource InfoToolWindow::portDeviceSource() const
{
    return PortDeviceSource{host_.settingsIni, host_.portDevice, host_.listDevices,
                            host_.deviceAccess};
}

void InfoToolWindow::showPortDevice()
{
    if (!host_.listDevices) return;
    const QString line = portDeviceLine(portDeviceSource(), portNumber_, host_.language);
    portDevice_->setText(line);
    portDevice_->setToolTip(line);
}

void InfoToolWindow::showPortDevices()
{
    PortDevicesDialog window(portDeviceSource(), *host_.prompt, portNumber_, host_.language, this);
    host_.prompt->execModal(window);
    // An assignment may add or move a port: list them again at once.
    refreshPortList();
    showPortDevice();
}

void InfoToolWindow::choosePort(int index)
{
    const QString text = portList_->itemText(index);
    if (text.size() <= 3) return;
    portNumber_ = portOfEntry(text.toStdString());
    rememberPort();
}

void InfoToolWindow::rememberPort()
{
    if (writeProfileString(host_.settingsIni, kSection, kComPortKey, std::to_string(portNumber_)))
        return;
    // The choice holds for this run only: say so instead of letting the next
    // start come up on another port unexplained.
    message(std::string(texts(host_.language).portNotSaved) + "\n" + host_.settingsIni.string(),
            Icon::Warning);
}

void InfoToolWindow::showRecord()
{
    const InfoToolRecord& r = exchange_->record();
    for (int k = 0; k < kOptionCount; ++k)
        optionBoxes_[static_cast<std::size_t>(k)]->setChecked(
            r.OptionFlags[static_cast<std::size_t>(k)] != 0);
    modelBox_->setEditText(gui::fromRecordText(r.ModelText));
    bandBox_->setEditText(u8(infoBandText(r.BandCode)));
    auto show = [this](int k, const std::string& text) {
        fields_[static_cast<std::size_t>(k)]->setText(gui::fromRecordText(cutAtNul(text)));
    };
    show(0, r.AreaCode);
    show(1, r.SerialNumber);
    show(2, r.ProductionDate);
    show(3, r.MaintenanceDate);
    description_->setPlainText(gui::fromRecordText(cutAtNul(r.MaintenanceDescription)));
    show(5, r.VersionText);
    show(6, r.ManufactureCode);
    show(7, r.UserCode);
    show(8, r.DealerCode);
    show(9, r.StockInDate);
    show(10, r.SaleDate);
    show(11, r.Seller);
    show(12, r.ProgramPassword);
    dealerFields_->recordShown();
}

void InfoToolWindow::takeFieldsInto(InfoToolRecord& r)
{
    for (int k = 0; k < kOptionCount; ++k)
        r.OptionFlags[static_cast<std::size_t>(k)] =
            optionBoxes_[static_cast<std::size_t>(k)]->isChecked() ? 1 : 0;
    // Model and band always come from the radio: edits of them are undone.
    modelBox_->setEditText(gui::fromRecordText(r.ModelText));
    const QString band = u8(infoBandText(r.BandCode));
    if (bandBox_->currentText() != band) bandBox_->setEditText(band);

    auto take = [this](int k) {
        return trimRight(gui::toRecordText(fields_[static_cast<std::size_t>(k)]->text()));
    };
    r.AreaCode = take(0);
    r.SerialNumber = take(1);
    r.ProductionDate = take(2);
    r.MaintenanceDate = take(3);
    r.MaintenanceDescription = trimRight(gui::toRecordText(description_->toPlainText()));
    r.ManufactureCode = take(6);
    r.UserCode = take(7);
    r.DealerCode = take(8);
    r.StockInDate = take(9);
    r.SaleDate = take(10);
    r.Seller = take(11);
    r.ProgramPassword = cutAtNul(gui::toRecordText(fields_[12]->text()));
}

bool InfoToolWindow::preparePort()
{
    lostReason_.clear();
    if (portNumber_ == 0) {
        message(texts(host_.language).cannotOpenPort, Icon::Error);
        return false;
    }
    if (host_.selectPort) host_.selectPort(portNumber_);
    return true;
}

void InfoToolWindow::readFromRadio()
{
    if (batch_->running() || exchange_->state() != InfoState::Idle) return;
    if (!preparePort()) return;
    exchange_->startRead();
}

void InfoToolWindow::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) gui::placeInsideAvailableScreen(*this);
    QWidget::showEvent(event);
}

void InfoToolWindow::writeToRadio()
{
    if (batch_->running() || exchange_->state() != InfoState::Idle) return;
    if (!preparePort()) return;
    writeClears_.clear();
    if (!dealerFields_->anyEmpty()) {
        exchange_->startWrite();
        return;
    }
    // A field left empty could erase what the radio holds: the radio is read
    // first, quietly, so that the question names this radio's own values.
    recordBeforeLook_ = exchange_->record();
    lookingBeforeWrite_ = true;
    exchange_->startRead();
}

void InfoToolWindow::writeAfterLooking()
{
    lookingBeforeWrite_ = false;
    // The look changes neither the record nor the window.
    const InfoToolRecord radio = exchange_->record();
    exchange_->record() = recordBeforeLook_;
    const auto clear = dealerFields_->askBeforeClearing(radio);
    if (!clear) return;
    writeClears_ = *clear;
    if (!preparePort()) return;
    exchange_->startWrite();
}

void InfoToolWindow::exitTool()
{
    close();
}

void InfoToolWindow::batchWrite()
{
    batch_->startOrStop();
}

void InfoToolWindow::exchangeFinished(InfoOutcome outcome)
{
    const Texts& t = texts(host_.language);
    // A look before a write that did not complete writes nothing.
    if (outcome != InfoOutcome::ReadComplete) lookingBeforeWrite_ = false;
    switch (outcome) {
        case InfoOutcome::ReadComplete:
            if (lookingBeforeWrite_) return writeAfterLooking();
            showRecord();
            message(t.readComplete);
            return;
        case InfoOutcome::WriteComplete:
            showRecord();
            message(t.writeComplete);
            return;
        case InfoOutcome::BatchComplete:
            batch_->ended();
            message(t.mulWriteComplete);
            return;
        case InfoOutcome::CommunicationError: {
            if (batch_->running()) batch_->ended();
            std::string text(t.communicationError);
            const bool lost = !lostReason_.empty();
            if (lost) {
                text += "\n" + builtInPortText(text::msg::PortLost, host_.language) + "\n" +
                        lostReason_;
                lostReason_.clear();
            }
            message(text, lost ? Icon::Error : Icon::None);
            return;
        }
        case InfoOutcome::PortOpenFailed: {
            if (batch_->running()) batch_->ended();
            std::string text(t.cannotOpenPort);
            const std::string& reason = exchange_->lastOpen().reason;
            if (!reason.empty()) text += "\n" + reason;
            message(text, Icon::Error);
            return;
        }
    }
}

void InfoToolWindow::message(std::string_view text, Icon icon)
{
    if (closing_ || host_.prompt == nullptr) return;
    Message m;
    m.text = std::string(text);
    m.icon = icon;
    host_.prompt->ask(m, [](Answer) {});
}

QString InfoToolWindow::todayText() const
{
    const QDate today = host_.today ? host_.today() : QDate::currentDate();
    QString text = host_.shortDate ? host_.shortDate(today) : today.toString(Qt::ISODate);
    return text.left(16);
}

void InfoToolWindow::portLost(const std::string& reason)
{
    if (exchange_->state() == InfoState::Idle) return;
    // Ends at once rather than after a time-out (or, in a batch, after four
    // hours of handshakes into a dead port); the record and the window keep
    // what they showed.
    lostReason_ = reason;
    exchange_->cancel();
    exchangeFinished(InfoOutcome::CommunicationError);
}

void InfoToolWindow::closeEvent(QCloseEvent* event)
{
    closing_ = true;
    portTimer_->stop();
    batch_->stop();
    host_.port->close();
    QWidget::closeEvent(event);
}

bool InfoToolWindow::serialFieldKey(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Paste) ||
        event->matches(QKeySequence::Cut))
        return true;
    if ((event->modifiers() & Qt::ControlModifier) &&
        (event->key() == Qt::Key_C || event->key() == Qt::Key_V || event->key() == Qt::Key_X))
        return true;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusNextChild();
        return true;
    }
    const QString text = event->text();
    if (text.isEmpty()) return false;
    const auto ucs = text.toUcs4();
    if (ucs.isEmpty()) return false;
    return serialKeyAction(static_cast<char32_t>(ucs.front())) != SerialKey::Accept;
}

bool InfoToolWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched == fields_[kSerialIndex])
        return serialFieldKey(static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::FocusIn) {
        if (watched == fields_[kMaintenanceDateIndex]) {
            const QString current = fields_[kMaintenanceDateIndex]->text();
            const std::string filled =
                maintenanceDateOnFocus(gui::toRecordText(current), gui::toRecordText(todayText()));
            if (filled != gui::toRecordText(current))
                fields_[kMaintenanceDateIndex]->setText(gui::fromRecordText(filled));
        }
        // The whole text is selected once the focus has arrived (a click would
        // otherwise place the cursor over the selection).
        if (auto* e = qobject_cast<QLineEdit*>(watched)) {
            QTimer::singleShot(0, e, [e] { e->selectAll(); });
        } else if (watched == description_) {
            QTimer::singleShot(0, description_, [this] { description_->selectAll(); });
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zt::infotool
