#include "gui/production/production_line_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdlib>

#include "core/text_ids.h"
#include "gui/app_context.h"
#include "platform/qt_serial_devices.h"
#include "platform/qt_timers.h"
#include "platform/serial_link_port.h"

namespace zt::gui {

namespace t = text::others;

namespace {

enum Column { ColPort, ColState, ColSerial, ColProgress, ColResult, ColumnCount };

QLineEdit* namedEdit(const char* name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

}  // namespace

std::filesystem::path defaultProductionLogPath()
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const std::filesystem::path folder =
        xdg && *xdg ? std::filesystem::path(xdg) / "ztp958fm"
                    : std::filesystem::path(home && *home ? home : ".") / ".local/share/ztp958fm";
    return folder / "production-units.csv";
}

ProductionLineWindow::ProductionLineWindow(AppContext& app, const SerialDeviceSource& devices,
                                           QWidget* parent)
    : QWidget(parent, Qt::Window),
      app_(app),
      devices_(devices),
      timers_(std::make_unique<QtTimerFactory>())
{
    setObjectName("frmProductionLine");
    setWindowTitle(text(t::WindowCaption));
    setAttribute(Qt::WA_DeleteOnClose);

    // The job.
    auto* job = new QGroupBox(text(t::FrameJob), this);
    job->setObjectName("fraJob");
    auto* jobLayout = new QFormLayout(job);
    const std::string name = app_.documents.fileName().filename().string();
    writeDocument_ = new QCheckBox(text(t::WriteDocument).arg(QString::fromStdString(name)), job);
    writeDocument_->setObjectName("chkWriteDocument");
    writeDocument_->setChecked(true);
    jobLayout->addRow(writeDocument_);
    writeInformation_ = new QCheckBox(text(t::WriteInformation), job);
    writeInformation_->setObjectName("chkWriteInformation");
    jobLayout->addRow(writeInformation_);
    const std::pair<const char*, int> fields[] = {{"dealer_code", t::LabelDealerCode},
                                                  {"stock_in_date", t::LabelStockInDate},
                                                  {"sale_date", t::LabelSaleDate},
                                                  {"seller", t::LabelSeller},
                                                  {"program_password", t::LabelProgramPassword}};
    for (const auto& [field, label] : fields) {
        QLineEdit* e = namedEdit(field, job);
        e->setMaxLength(field == std::string("program_password") ? 4 : 16);
        e->setAccessibleName(text(label));
        jobLayout->addRow(text(label), e);
        infoFields_.emplace_back(field, e);
    }
    countedSerial_ = namedEdit("serial_number", job);
    countedSerial_->setMaxLength(16);
    countedSerial_->setAccessibleName(text(t::LabelCountedSerial));
    jobLayout->addRow(text(t::LabelCountedSerial), countedSerial_);

    // The checks.
    auto* checks = new QGroupBox(text(t::FrameChecks), this);
    checks->setObjectName("fraChecks");
    auto* checkLayout = new QGridLayout(checks);
    auto addCheck = [&](int row, const char* name, int label, QCheckBox*& box, QLineEdit*& edit,
                        const QString& value) {
        box = new QCheckBox(text(label), checks);
        box->setObjectName(QString("chk") + name);
        edit = namedEdit((QString("txt") + name).toUtf8().constData(), checks);
        edit->setText(value);
        edit->setAccessibleName(text(label));
        checkLayout->addWidget(box, row, 0);
        checkLayout->addWidget(edit, row, 1);
    };
    addCheck(0, "Model", t::CheckModel, checkModel_, model_,
             QString::fromStdString(app_.state.ModelName));
    checkModel_->setChecked(true);
    addCheck(1, "Band", t::CheckBand, checkBand_, band_,
             QString::fromStdString(app_.state.BandText));
    addCheck(2, "Firmware", t::CheckFirmware, checkFirmware_, firmware_, QString());

    // The ports and the log file.
    auto* portsBox = new QGroupBox(text(t::FramePorts), this);
    portsBox->setObjectName("fraPorts");
    auto* portsLayout = new QGridLayout(portsBox);
    ports_ = new QListWidget(portsBox);
    ports_->setObjectName("lstPorts");
    ports_->setAccessibleName(text(t::FramePorts));
    portsLayout->addWidget(ports_, 0, 0, 1, 3);
    addPortText_ = namedEdit("txtAddPort", portsBox);
    addPortText_->setAccessibleName(text(t::ButtonAdd));
    auto* add = new QPushButton(text(t::ButtonAdd), portsBox);
    add->setObjectName("cmdAddPort");
    auto* refreshButton = new QPushButton(text(t::ButtonRefresh), portsBox);
    refreshButton->setObjectName("cmdRefresh");
    portsLayout->addWidget(addPortText_, 1, 0);
    portsLayout->addWidget(add, 1, 1);
    portsLayout->addWidget(refreshButton, 1, 2);
    portsLayout->addWidget(new QLabel(text(t::LabelLogFile), portsBox), 2, 0);
    logFile_ = namedEdit("txtLogFile", portsBox);
    logFile_->setText(QString::fromStdString(defaultProductionLogPath().string()));
    logFile_->setAccessibleName(text(t::LabelLogFile));
    portsLayout->addWidget(logFile_, 3, 0, 1, 3);
    connect(add, &QPushButton::clicked, this, [this] {
        addPort(addPortText_->text().trimmed());
        addPortText_->clear();
    });
    connect(refreshButton, &QPushButton::clicked, this, &ProductionLineWindow::refreshPorts);

    // One row per port, the running log, the summary and the buttons.
    table_ = new QTableWidget(0, ColumnCount, this);
    table_->setObjectName("grdPorts");
    table_->setHorizontalHeaderLabels({text(t::ColumnPort), text(t::ColumnState),
                                       text(t::ColumnSerial), text(t::ColumnProgress),
                                       text(t::ColumnLastResult)});
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setAccessibleName(text(t::FramePorts));
    auto* logBox = new QGroupBox(text(t::FrameLog), this);
    logBox->setObjectName("fraLog");
    auto* logLayout = new QVBoxLayout(logBox);
    log_ = new QPlainTextEdit(logBox);
    log_->setObjectName("txtLog");
    log_->setReadOnly(true);
    log_->setAccessibleName(text(t::FrameLog));
    logLayout->addWidget(log_);
    summary_ = new QLabel(this);
    summary_->setObjectName("lblSummary");
    start_ = new QPushButton(text(t::ButtonStart), this);
    start_->setObjectName("cmdStart");
    stop_ = new QPushButton(text(t::ButtonStop), this);
    stop_->setObjectName("cmdStop");
    auto* close = new QPushButton(text(t::ButtonClose), this);
    close->setObjectName("cmdClose");
    connect(start_, &QPushButton::clicked, this, [this] { startLine(); });
    connect(stop_, &QPushButton::clicked, this, &ProductionLineWindow::stopLine);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(job);
    left->addWidget(checks);
    top->addLayout(left);
    top->addWidget(portsBox, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(summary_, 1);
    buttons->addWidget(start_);
    buttons->addWidget(stop_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    layout->addWidget(logBox, 1);
    layout->addLayout(buttons);

    refresh_ = new QTimer(this);
    refresh_->setInterval(250);
    connect(refresh_, &QTimer::timeout, this, &ProductionLineWindow::showStates);
    setRunning(false);
    refreshPorts();
}

ProductionLineWindow::~ProductionLineWindow()
{
    // The line goes before the ports it talks through.
    if (line_) {
        line_->onFinished = nullptr;
        line_->onPortChanged = nullptr;
        line_->onUnit = [this](const UnitRecord& u) { logFile.append(u); };
        line_->stop();
    }
    line_.reset();
    links_.clear();
}

QString ProductionLineWindow::text(int id) const
{
    return app_.text(id);
}

QString ProductionLineWindow::stateText(PortState state) const
{
    switch (state) {
        case PortState::Waiting:
            return text(t::StateWaiting);
        case PortState::Identifying:
            return text(t::StateIdentifying);
        case PortState::WritingDocument:
            return text(t::StateWritingDocument);
        case PortState::WritingInformation:
            return text(t::StateWritingInformation);
        case PortState::WaitingRemoval:
            return text(t::StateWaitingRemoval);
        case PortState::Idle:
            return text(t::StateIdle);
        case PortState::Stopped:
            return text(t::StateStopped);
    }
    return {};
}

void ProductionLineWindow::refreshPorts()
{
    std::vector<QString> ticked;
    for (int i = 0; i < ports_->count(); ++i)
        if (ports_->item(i)->checkState() == Qt::Checked) ticked.push_back(ports_->item(i)->text());
    ports_->clear();
    for (const auto& d : devices_.devices()) {
        auto* item = new QListWidgetItem(QString::fromStdString(d.path), ports_);
        item->setToolTip(QString::fromStdString(d.description));
        item->setCheckState(Qt::Unchecked);
    }
    for (const auto& device : ticked) addPort(device);
}

void ProductionLineWindow::addPort(const QString& device)
{
    if (device.isEmpty()) return;
    const auto found = ports_->findItems(device, Qt::MatchExactly);
    QListWidgetItem* item = found.isEmpty() ? new QListWidgetItem(device, ports_) : found.front();
    item->setCheckState(Qt::Checked);
}

bool ProductionLineWindow::startLine()
{
    if (running()) return false;
    std::vector<QString> devices;
    for (int i = 0; i < ports_->count(); ++i)
        if (ports_->item(i)->checkState() == Qt::Checked)
            devices.push_back(ports_->item(i)->text());
    Message m;
    m.icon = Icon::Warning;
    if (devices.empty()) {
        m.textId = t::NoPortChosen;
        app_.prompt->ask(m);
        return false;
    }
    if (!writeDocument_->isChecked() && !writeInformation_->isChecked()) {
        m.textId = t::NothingToWrite;
        app_.prompt->ask(m);
        return false;
    }
    LineJob job;
    if (writeDocument_->isChecked())
        setLineDocument(job, app_.documents.working(), app_.state,
                        app_.documents.fileName().filename().string());
    if (writeInformation_->isChecked()) {
        std::map<std::string, std::string> fields;
        for (const auto& [field, edit] : infoFields_) fields[field] = edit->text().toStdString();
        if (!countedSerial_->text().trimmed().isEmpty())
            fields["serial_number"] = countedSerial_->text().trimmed().toStdString();
        setLineInformation(job, fields);
    }
    if (checkModel_->isChecked()) job.require.model = model_->text().trimmed().toStdString();
    if (checkBand_->isChecked()) job.require.band = band_->text().trimmed().toStdString();
    if (checkFirmware_->isChecked())
        job.require.firmware = firmware_->text().trimmed().toStdString();

    const std::filesystem::path logPath = logFile_->text().trimmed().toStdString();
    std::error_code ec;
    if (!logPath.parent_path().empty())
        std::filesystem::create_directories(logPath.parent_path(), ec);
    const std::string problem = logFile.open(logPath);
    if (!problem.empty()) {
        m.textId = t::LogNotOpened;
        m.text = problem;
        m.icon = Icon::Error;
        app_.prompt->ask(m);
        return false;
    }

    line_.reset();
    links_.clear();
    std::vector<ProductionLine::Port> ports;
    for (const QString& device : devices) {
        auto link = std::make_unique<SerialLinkPort>(device);
        link->setMessageTexts(app_.texts.lookup());
        ports.push_back({device.toStdString(), link.get()});
        links_.push_back(std::move(link));
    }
    LineSettings settings;
    settings.password = app_.enteredPassword;
    line_ = std::make_unique<ProductionLine>(std::move(job), settings, ports, *timers_, clock_,
                                             app_.texts.lookup(), &app_.versions);
    for (std::size_t i = 0; i < links_.size(); ++i) {
        links_[i]->onLost = [this, i](const std::string& reason) { line_->portLost(i, reason); };
    }
    line_->onUnit = [this](const UnitRecord& u) { unitLogged(u); };
    line_->onPortChanged = [this](std::size_t) { showStates(); };
    line_->onFinished = [this] { lineFinished(); };

    table_->setRowCount(static_cast<int>(devices.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        table_->setItem(row, ColPort, new QTableWidgetItem(devices[static_cast<std::size_t>(row)]));
        for (int c : {ColState, ColSerial, ColResult})
            table_->setItem(row, c, new QTableWidgetItem);
        auto* bar = new QProgressBar(table_);
        bar->setRange(0, 100);
        bar->setValue(0);
        table_->setCellWidget(row, ColProgress, bar);
    }
    log_->clear();
    setRunning(true);
    line_->start();
    showStates();
    return true;
}

void ProductionLineWindow::stopLine()
{
    if (running()) line_->stop();  // ends through lineFinished
}

void ProductionLineWindow::closeEvent(QCloseEvent* event)
{
    stopLine();
    event->accept();
}

void ProductionLineWindow::setRunning(bool running)
{
    start_->setEnabled(!running);
    stop_->setEnabled(running);
    for (QWidget* w :
         std::initializer_list<QWidget*>{writeDocument_, writeInformation_, ports_, logFile_,
                                         checkModel_, checkBand_, checkFirmware_})
        w->setEnabled(!running);
    if (running) {
        refresh_->start();
    } else {
        refresh_->stop();
    }
}

void ProductionLineWindow::showStates()
{
    if (!line_) return;
    for (std::size_t i = 0; i < line_->portCount(); ++i) {
        const LinePortStatus s = line_->status(i);
        const int row = static_cast<int>(i);
        if (row >= table_->rowCount()) break;
        table_->item(row, ColState)->setText(stateText(s.state));
        table_->item(row, ColSerial)->setText(QString::fromStdString(s.serialNumber));
        table_->item(row, ColResult)
            ->setText(QString::fromStdString(s.portProblem.empty() ? s.lastResult : s.portProblem));
        if (auto* bar = qobject_cast<QProgressBar*>(table_->cellWidget(row, ColProgress)))
            bar->setValue(s.percent);
    }
    const LineSummary sum = line_->summary();
    summary_->setText(text(t::Summary)
                          .arg(sum.done)
                          .arg(sum.failed)
                          .arg(sum.skipped)
                          .arg(sum.radiosPerHour(), 0, 'f', 1));
}

void ProductionLineWindow::unitLogged(const UnitRecord& u)
{
    if (!logFile.append(u)) {
        Message m;
        m.textId = t::LogNotOpened;
        m.icon = Icon::Error;
        app_.prompt->ask(m);
    }
    QString line = QString::fromStdString(unitLogRow(u)).trimmed();
    log_->appendPlainText(line);
    showStates();
}

void ProductionLineWindow::lineFinished()
{
    logFile.close();
    showStates();
    setRunning(false);
}

void addProductionLineCommand(QMenu& programMenu, AppContext& app, QWidget& mainWindow,
                              std::function<void()> commitPendingEdits)
{
    QAction* a = programMenu.addAction(QString());
    a->setObjectName("mnuProductionLine");
    a->setProperty("textId", text::menu::ProgramProductionLine);
    QObject::connect(a, &QAction::triggered, &mainWindow, [&app, &mainWindow, commitPendingEdits] {
        if (commitPendingEdits) commitPendingEdits();
        if (auto* open = mainWindow.findChild<ProductionLineWindow*>("frmProductionLine")) {
            open->show();
            open->raise();
            open->activateWindow();
            return;
        }
        static const SystemSerialDevices devices;
        auto* w = new ProductionLineWindow(app, devices, &mainWindow);
        w->show();
    });
}

}  // namespace zt::gui
