#include "gui/settings/frm_set_comm.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/files/settings.h"
#include "gui/app_context.h"
#include "gui/widgets/common_buttons.h"
#include "platform/port_table.h"

namespace zt::gui {
namespace {

constexpr int kColumns = 4;
constexpr int kRows = 4;

FrmSetComm::PortSource platformPorts(const AppContext& app)
{
    const std::filesystem::path ini = app.paths.mySetupIni();
    FrmSetComm::PortSource s;
    s.availability = [ini] { return comAvailability(ini); };
    s.deviceName = [ini](int number) {
        return QString::fromStdString(comDevice(number, ini).string());
    };
    return s;
}

}  // namespace

FrmSetComm::FrmSetComm(AppContext& app, QWidget* parent)
    : FrmSetComm(app, platformPorts(app), parent)
{
}

FrmSetComm::FrmSetComm(AppContext& app, PortSource source, QWidget* parent)
    : QDialog(parent), app_(app), source_(std::move(source))
{
    setObjectName("FrmSetComm");
    build();
    // Window load: captions, availability, the stored port's button (also
    // when it is disabled; a number outside 1..16 selects none), the timer.
    applyLanguageTexts();
    refreshAvailability();
    if (app_.comPort >= 1 && app_.comPort <= kPortCount)
        options_[static_cast<std::size_t>(app_.comPort - 1)]->setChecked(true);
    timer_->start();
}

FrmSetComm::~FrmSetComm() = default;

void FrmSetComm::build()
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
        // COM1..COM4 down the first column, COM5..COM8 the second, and so on.
        grid->addWidget(b, k % kRows, k / kRows);
        group_->addButton(b, k);
        options_[static_cast<std::size_t>(k)] = b;
    }
    static_assert(kColumns * kRows == kPortCount);

    ok_ = new QPushButton(this);
    ok_->setObjectName("CommandOK");
    ok_->setDefault(true);
    cancel_ = new QPushButton(this);
    cancel_->setObjectName("CommandCancel");
    connect(ok_, &QPushButton::clicked, this, [this] { commandOkClick(); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    timer_ = new QTimer(this);
    timer_->setObjectName("ReCommTimer");
    timer_->setInterval(kRefreshMs);
    connect(timer_, &QTimer::timeout, this, [this] { ReCommTimer_Timer(); });
}

QRadioButton* FrmSetComm::option(int index) const
{
    if (index < 0 || index >= kPortCount) return nullptr;
    return options_[static_cast<std::size_t>(index)];
}

int FrmSetComm::selectedPort() const
{
    // The last selected button wins, should several ever be set.
    int selected = 0;
    for (int k = 0; k < kPortCount; ++k)
        if (options_[static_cast<std::size_t>(k)]->isChecked()) selected = k + 1;
    return selected;
}

void FrmSetComm::applyLanguageTexts()
{
    setWindowTitle(app_.text(22000));
    frame_->setTitle(app_.text(22001));
    const QString prefix = app_.text(22002);
    for (int k = 0; k < kPortCount; ++k)
        options_[static_cast<std::size_t>(k)]->setText(prefix + QString::number(k + 1));
    captionCommonButtons(*this, app_.texts.lookup());
}

void FrmSetComm::refreshAvailability()
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
}

void FrmSetComm::ReCommTimer_Timer()
{
    const int selected = selectedPort();
    refreshAvailability();
    if (selected > 0) options_[static_cast<std::size_t>(selected - 1)]->setChecked(true);
}

void FrmSetComm::commandOkClick()
{
    const int selected = selectedPort();
    if (selected > 0) {
        app_.comPort = selected;
        saveComPort(app_.paths, selected);
    }
    accept();
}

void FrmSetComm::done(int result)
{
    timer_->stop();
    QDialog::done(result);
}

}  // namespace zt::gui
