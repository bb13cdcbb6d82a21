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
#include <QTimer>
#include <QVBoxLayout>

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
constexpr int kDescriptionIndex = 4;
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

}  // namespace

InfoToolWindow::InfoToolWindow(InfoToolHost host, QWidget* parent)
    : QWidget(parent), host_(std::move(host))
{
    setObjectName("FrmMain");
    exchange_ = std::make_unique<InfoExchange>(*host_.port, *host_.timers);
    exchange_->finished = [this](InfoOutcome outcome) { exchangeFinished(outcome); };
    exchange_->takeRecord = [this](InfoToolRecord& r) {
        GetDataByShow(r);
        if (batchRunning_) label6_->setText(u8(texts(host_.language).writingBatch));
    };
    exchange_->onBatchRadio = [this](int next) { batchRadioWritten(next); };
    exchange_->onBatchWaiting = [this] { label6_->setText(u8(texts(host_.language).waitingNext)); };
    build();
}

InfoToolWindow::~InfoToolWindow()
{
    // No message may come from an exchange that ends with the window.
    closing_ = true;
    exchange_->finished = nullptr;
}

QLineEdit* InfoToolWindow::field(int k) const
{
    return k >= 0 && k < static_cast<int>(text1_.size()) ? text1_[static_cast<std::size_t>(k)]
                                                         : nullptr;
}

void InfoToolWindow::build()
{
    setWindowTitle(u8(kCaption));

    // Record texts are one byte per character: other characters are refused.
    for (int k = 0; k < 13; ++k) {
        if (k == kDescriptionIndex) continue;
        // The serial number takes digits only, through its own key check.
        QLineEdit* e = k == 1 ? new QLineEdit(this) : gui::newOneByteTextBox(this);
        e->setObjectName(fieldName("Text1", k));
        e->setMaxLength(kFieldLimits[static_cast<std::size_t>(k)]);
        e->setMinimumWidth(kFieldWidth);
        e->installEventFilter(this);
        text1_[static_cast<std::size_t>(k)] = e;
    }
    // Serial number: digits typed one by one, nothing pasted or dropped in.
    text1_[1]->setContextMenuPolicy(Qt::NoContextMenu);
    text1_[1]->setAcceptDrops(false);
    // The version is shown only.
    text1_[5]->setReadOnly(true);

    description_ = new QPlainTextEdit(this);
    description_->setObjectName(fieldName("Text1", kDescriptionIndex));
    description_->setTabChangesFocus(true);
    description_->setMinimumWidth(kFieldWidth);
    description_->setFixedHeight(4 * description_->fontMetrics().lineSpacing() + 12);
    description_->installEventFilter(this);
    connect(description_, &QPlainTextEdit::textChanged, this, [this] {
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
    });

    for (int k = 0; k < 2; ++k) {
        auto* c = new QComboBox(this);
        c->setObjectName(fieldName("Combo1", k));
        c->setLineEdit(gui::newOneByteTextBox(c));
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setMinimumWidth(kFieldWidth);
        combo1_[static_cast<std::size_t>(k)] = c;
    }
    combo1_[1]->addItem(u8(infoBandText(0)));

    for (int k = 0; k < kFieldLabelCount; ++k) {
        auto* l = new QLabel(this);
        l->setObjectName(fieldName("Label1", k));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        labels_[static_cast<std::size_t>(k)] = l;
    }
    labels_[5]->setAlignment(Qt::AlignRight | Qt::AlignTop);
    areaLabel_ = new QLabel(this);
    areaLabel_->setObjectName("Label2");
    areaLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // Left column: identity, serial number, dates and codes.
    auto* left = new QGridLayout;
    left->setHorizontalSpacing(kLabelGap);
    auto addRow = [](QGridLayout* grid, QLabel* label, QWidget* w) {
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(w, row, 1);
    };
    addRow(left, labels_[0], combo1_[0]);
    addRow(left, labels_[1], combo1_[1]);
    addRow(left, labels_[2], text1_[1]);
    addRow(left, labels_[3], text1_[2]);
    addRow(left, labels_[4], text1_[3]);
    addRow(left, labels_[6], text1_[5]);
    addRow(left, labels_[7], text1_[6]);
    addRow(left, labels_[8], text1_[7]);
    addRow(left, areaLabel_, text1_[0]);
    addRow(left, labels_[13], text1_[12]);
    left->setRowStretch(left->rowCount(), 1);

    // Right column: maintenance description, the dealer's frame, option flags.
    auto* descriptionGrid = new QGridLayout;
    descriptionGrid->setHorizontalSpacing(kLabelGap);
    addRow(descriptionGrid, labels_[5], description_);

    frame2_ = new QGroupBox(this);
    frame2_->setObjectName("Frame2");
    auto* dealer = new QGridLayout(frame2_);
    dealer->setHorizontalSpacing(kLabelGap);
    for (int k = 0; k < 4; ++k) {
        labels_[static_cast<std::size_t>(9 + k)]->setParent(frame2_);
        text1_[static_cast<std::size_t>(8 + k)]->setParent(frame2_);
        addRow(dealer, labels_[static_cast<std::size_t>(9 + k)],
               text1_[static_cast<std::size_t>(8 + k)]);
    }

    auto* options = new QHBoxLayout;
    for (int k = 0; k < kOptionCount; ++k) {
        auto* c = new QCheckBox(this);
        c->setObjectName(QString("Check%1").arg(k + 1));
        options->addWidget(c);
        checks_[static_cast<std::size_t>(k)] = c;
    }
    options->addStretch(1);

    auto* right = new QVBoxLayout;
    right->addLayout(descriptionGrid);
    right->addWidget(frame2_);
    right->addLayout(options);
    right->addStretch(1);

    auto* fieldsRow = new QHBoxLayout;
    fieldsRow->addLayout(left);
    fieldsRow->addSpacing(16);
    fieldsRow->addLayout(right, 1);

    // Port, batch count, current radio and the batch status.
    portLabel_ = new QLabel(this);
    portLabel_->setObjectName("Label3");
    combo2_ = new QComboBox(this);
    combo2_->setObjectName("Combo2");
    combo2_->setMinimumWidth(90);
    connect(combo2_, &QComboBox::activated, this, [this](int index) { choosePort(index); });
    connect(combo2_, &QComboBox::activated, this, [this] { showPortDevice(); });

    countLabel_ = new QLabel(this);
    countLabel_->setObjectName("Label4");
    currentLabel_ = new QLabel(this);
    currentLabel_->setObjectName("Label5");
    for (int k = 0; k < 2; ++k) {
        QLineEdit* e = k == 0 ? gui::newOneByteTextBox(this) : new QLineEdit(this);
        e->setObjectName(fieldName("Text2", k));
        e->setMaximumWidth(56);
        text2_[static_cast<std::size_t>(k)] = e;
    }
    text2_[0]->setMaxLength(kCountMaxLength);
    text2_[1]->setReadOnly(true);
    label6_ = new QLabel(this);
    label6_->setObjectName("Label6");
    label6_->setMinimumWidth(160);

    auto* batchRow = new QHBoxLayout;
    batchRow->setSpacing(kLabelGap);
    batchRow->addWidget(portLabel_);
    batchRow->addWidget(combo2_);
    batchRow->addSpacing(16);
    batchRow->addWidget(countLabel_);
    batchRow->addWidget(text2_[0]);
    batchRow->addSpacing(16);
    batchRow->addWidget(currentLabel_);
    batchRow->addWidget(text2_[1]);
    batchRow->addSpacing(16);
    batchRow->addWidget(label6_, 1);

    // The chosen number's device, and the window to assign devices.
    portDevice_ = new QLabel(this);
    portDevice_->setObjectName("PortDevice");
    portDevice_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    portsButton_ = new QPushButton(this);
    portsButton_->setObjectName("CommandPorts");
    portsButton_->setAutoDefault(false);
    connect(portsButton_, &QPushButton::clicked, this, [this] { showPortDevices(); });
    auto* deviceRow = new QHBoxLayout;
    deviceRow->addWidget(portDevice_, 1);
    deviceRow->addWidget(portsButton_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (int k : {0, 1, 3, 2}) {  // Read, Write, batch, Exit
        auto* b = new QPushButton(this);
        b->setObjectName(QString("Command%1").arg(k + 1));
        b->setAutoDefault(false);
        b->setMinimumWidth(100);
        buttons->addWidget(b);
        commands_[static_cast<std::size_t>(k)] = b;
    }
    connect(commands_[0], &QPushButton::clicked, this, [this] { readFromRadio(); });
    connect(commands_[1], &QPushButton::clicked, this, [this] { writeToRadio(); });
    connect(commands_[2], &QPushButton::clicked, this, [this] { exitTool(); });
    connect(commands_[3], &QPushButton::clicked, this, [this] { batchWrite(); });

    auto* root = new QVBoxLayout(this);
    root->addLayout(fieldsRow);
    root->addSpacing(8);
    root->addLayout(batchRow);
    root->addLayout(deviceRow);
    root->addLayout(buttons);

    portTimer_ = new QTimer(this);
    portTimer_->setObjectName("ReShowComPortTimer");
    portTimer_->setInterval(kPortRefreshMs);
    connect(portTimer_, &QTimer::timeout, this, [this] { refreshPortList(); });
    connect(portTimer_, &QTimer::timeout, this, [this] { showPortDevice(); });

    text2_[0]->setText("10");
    text2_[1]->setText("0");
}

void InfoToolWindow::applyTexts()
{
    const Texts& t = texts(host_.language);
    setWindowTitle(u8(kCaption));
    commands_[0]->setText(u8(t.read));
    commands_[1]->setText(u8(t.write));
    commands_[2]->setText(host_.language == kChinese ? QStringLiteral("退出(&X)")
                                                     : QStringLiteral("E&xit"));
    commands_[3]->setText(u8(batchRunning_ ? t.stopMulWrite : t.mulWrite));
    countLabel_->setText(u8(t.radioCount));
    currentLabel_->setText(u8(t.radioNo));
    areaLabel_->setText(u8(t.areaCode));
    portLabel_->setText(u8(t.comPort));
    portsButton_->setText(portDevicesButtonText(host_.language));
    for (int k = 0; k < kFieldLabelCount; ++k)
        labels_[static_cast<std::size_t>(k)]->setText(
            u8(t.fieldLabels[static_cast<std::size_t>(k)]));
    frame2_->setTitle(u8(t.dealerFrame));
    for (int k = 0; k < kOptionCount; ++k)
        checks_[static_cast<std::size_t>(k)]->setText(u8(t.options[static_cast<std::size_t>(k)]));
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
    label6_->clear();

    const int stored =
        storedComPort(readProfileString(host_.settingsIni, kSection, kComPortKey, ""));
    fillPortList();
    std::vector<int> listed;
    for (int i = 0; i < combo2_->count(); ++i)
        listed.push_back(portOfEntry(combo2_->itemText(i).toStdString()));
    portNumber_ = startPort(stored, listed);
    if (portNumber_ != 0) {
        combo2_->setCurrentIndex(combo2_->findText(QString::fromStdString(portEntry(portNumber_))));
        rememberPort();
    } else {
        combo2_->setCurrentIndex(-1);
    }

    combo1_[1]->setCurrentIndex(0);
    ShowByData();
    showPortDevice();
    portTimer_->start();
}

void InfoToolWindow::fillPortList()
{
    const QSignalBlocker block(combo2_);
    combo2_->clear();
    if (!host_.listPorts) return;
    for (int n : host_.listPorts()) combo2_->addItem(QString::fromStdString(portEntry(n)));
}

void InfoToolWindow::refreshPortList()
{
    // Only the list and the chosen number change; an open port stays as it is.
    fillPortList();
    const QSignalBlocker block(combo2_);
    if (portNumber_ != 0) {
        const int current = combo2_->findText(QString::fromStdString(portEntry(portNumber_)));
        if (current >= 0) {
            combo2_->setCurrentIndex(current);
        } else {
            // The chosen device is gone (an adapter pulled out): the choice
            // stays, shown but not selectable, and is used again once the
            // device is back. Moving to another port would send the next
            // read to a device the user never chose.
            showChosenPortMissing();
        }
        return;
    }
    if (combo2_->count() == 0) {
        combo2_->setCurrentIndex(-1);
        return;
    }
    combo2_->setCurrentIndex(0);
    portNumber_ = portOfEntry(combo2_->currentText().toStdString());
}

void InfoToolWindow::showChosenPortMissing()
{
    const QString entry = QString::fromStdString(portEntry(portNumber_));
    // In number order among the listed ports.
    int at = 0;
    while (at < combo2_->count() && portOfEntry(combo2_->itemText(at).toStdString()) < portNumber_)
        ++at;
    combo2_->insertItem(at, entry);
    if (auto* model = qobject_cast<QStandardItemModel*>(combo2_->model()))
        if (QStandardItem* item = model->item(at)) item->setEnabled(false);
    combo2_->setCurrentIndex(at);
}

bool InfoToolWindow::portEntryEnabled(int index) const
{
    const auto* model = qobject_cast<const QStandardItemModel*>(combo2_->model());
    if (model == nullptr || index < 0 || index >= combo2_->count()) return false;
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
    const QString text = combo2_->itemText(index);
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

void InfoToolWindow::ShowByData()
{
    const InfoToolRecord& r = exchange_->record();
    for (int k = 0; k < kOptionCount; ++k)
        checks_[static_cast<std::size_t>(k)]->setChecked(
            r.OptionFlags[static_cast<std::size_t>(k)] != 0);
    combo1_[0]->setEditText(gui::fromRecordText(r.ModelText));
    combo1_[1]->setEditText(u8(infoBandText(r.BandCode)));
    auto show = [this](int k, const std::string& text) {
        text1_[static_cast<std::size_t>(k)]->setText(gui::fromRecordText(cutAtNul(text)));
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
}

void InfoToolWindow::GetDataByShow(InfoToolRecord& r)
{
    for (int k = 0; k < kOptionCount; ++k)
        r.OptionFlags[static_cast<std::size_t>(k)] =
            checks_[static_cast<std::size_t>(k)]->isChecked() ? 1 : 0;
    // Model and band always come from the radio: edits of them are undone.
    combo1_[0]->setEditText(gui::fromRecordText(r.ModelText));
    const QString band = u8(infoBandText(r.BandCode));
    if (combo1_[1]->currentText() != band) combo1_[1]->setEditText(band);

    auto take = [this](int k) {
        return trimRight(gui::toRecordText(text1_[static_cast<std::size_t>(k)]->text()));
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
    r.ProgramPassword = cutAtNul(gui::toRecordText(text1_[12]->text()));
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
    if (batchRunning_ || exchange_->state() != InfoState::Idle) return;
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
    if (batchRunning_ || exchange_->state() != InfoState::Idle) return;
    if (!confirmEmptyDealerFields()) return;
    if (!preparePort()) return;
    exchange_->startWrite();
}

bool InfoToolWindow::confirmEmptyDealerFields()
{
    // The dealer fields a write sends (dealer code, stock-in and sale dates, seller, program
    // password): one left empty here would replace what the radio, as read or written here
    // last, holds with nothing.
    if (!radioHolds_ || host_.prompt == nullptr) return true;
    const Texts& t = texts(host_.language);
    std::vector<int> empty;
    QStringList lines;
    for (int k = 8; k <= 12; ++k) {
        const QString held = heldText(*radioHolds_, k);
        if (!text1_[static_cast<std::size_t>(k)]->text().isEmpty() || held.isEmpty()) continue;
        empty.push_back(k);
        lines << u8(t.fieldLabels[static_cast<std::size_t>(k + 1)]) + QStringLiteral(": ") + held;
    }
    if (empty.empty()) return true;
    Message m;
    m.text = std::string(t.clearHeldFields) + "\n" + lines.join('\n').toStdString();
    m.buttons = Buttons::YesNoCancel;
    m.icon = Icon::Question;
    const Answer a = host_.prompt->ask(m);
    if (a == Answer::Cancel) return false;
    if (a == Answer::No)
        for (int k : empty) text1_[static_cast<std::size_t>(k)]->setText(heldText(*radioHolds_, k));
    return true;
}

QString InfoToolWindow::heldText(const InfoToolRecord& r, int field) const
{
    const std::string* value = field == 8    ? &r.DealerCode
                               : field == 9  ? &r.StockInDate
                               : field == 10 ? &r.SaleDate
                               : field == 11 ? &r.Seller
                                             : &r.ProgramPassword;
    return gui::fromRecordText(trimRight(cutAtNul(*value)));
}

void InfoToolWindow::exitTool()
{
    close();
}

void InfoToolWindow::batchWrite()
{
    const Texts& t = texts(host_.language);
    if (batchRunning_) {
        // Stop: the batch ends at once, without a message.
        exchange_->stopBatch();
        batchControlsIdle();
        return;
    }
    if (exchange_->state() != InfoState::Idle) return;
    const auto total = batchTotal(text2_[0]->text().toStdString());
    if (!total) return;  // an empty or non-numeric count starts nothing
    if (!preparePort()) return;

    batchRunning_ = true;
    commands_[0]->setEnabled(false);
    commands_[1]->setEnabled(false);
    commands_[3]->setText(u8(t.stopMulWrite));
    text2_[1]->setText("1");
    label6_->setText(u8(t.writingBatch));
    // A port that cannot be opened is reported through exchangeFinished,
    // which puts the controls back.
    if (!exchange_->startBatch(*total) && batchRunning_) batchControlsIdle();
}

void InfoToolWindow::batchRadioWritten(int nextRadio)
{
    text1_[1]->setText(gui::fromRecordText(exchange_->record().SerialNumber));
    text2_[1]->setText(QString::number(nextRadio));
}

void InfoToolWindow::batchControlsIdle()
{
    batchRunning_ = false;
    commands_[0]->setEnabled(true);
    commands_[1]->setEnabled(true);
    text2_[1]->clear();
    label6_->clear();
    commands_[3]->setText(u8(texts(host_.language).mulWrite));
}

void InfoToolWindow::exchangeFinished(InfoOutcome outcome)
{
    const Texts& t = texts(host_.language);
    switch (outcome) {
        case InfoOutcome::ReadComplete:
            radioHolds_ = exchange_->record();
            ShowByData();
            message(t.readComplete);
            return;
        case InfoOutcome::WriteComplete:
            radioHolds_ = exchange_->record();
            ShowByData();
            message(t.writeComplete);
            return;
        case InfoOutcome::BatchComplete:
            batchControlsIdle();
            message(t.mulWriteComplete);
            return;
        case InfoOutcome::CommunicationError: {
            if (batchRunning_) batchControlsIdle();
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
            if (batchRunning_) batchControlsIdle();
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
    if (batchRunning_) {
        exchange_->stopBatch();
        batchControlsIdle();
    }
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
    if (event->type() == QEvent::KeyPress && watched == text1_[1])
        return serialFieldKey(static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::FocusIn) {
        if (watched == text1_[3]) {
            const QString current = text1_[3]->text();
            const std::string filled =
                maintenanceDateOnFocus(gui::toRecordText(current), gui::toRecordText(todayText()));
            if (filled != gui::toRecordText(current))
                text1_[3]->setText(gui::fromRecordText(filled));
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
