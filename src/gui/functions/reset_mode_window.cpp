#include "gui/functions/reset_mode_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/widgets/common_buttons.h"
#include "gui/widgets/guarded_line_edit.h"

namespace zt::gui {
namespace {

constexpr std::array<ResetMode, 3> kModes{ResetMode::E, ResetMode::Normal, ResetMode::Extended};
constexpr int kFirstLabelText = text::option::ResetModeLabelEModeGroup;
constexpr int kLabelGapPx = 100 / 15;  // 100 twips

std::size_t slot(ResetMode mode)
{
    return static_cast<std::size_t>(mode);
}

void fill(QComboBox* list, const std::vector<std::string>& entries)
{
    list->clear();
    for (const auto& e : entries) list->addItem(QString::fromStdString(e));
}

}  // namespace

ResetModeWindow::ResetModeWindow(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName("FrmResetMode");
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(kLabelGapPx);
    grid->setColumnStretch(1, 1);
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QString("Label%1").arg(i + 1));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* list = new QComboBox(this);
        list->setObjectName(QString("Combo%1").arg(i + 1));
        list->setMinimumContentsLength(6);
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMaxVisibleItems(20);
        enterMovesOn(list);
        label->setBuddy(list);
        labels_[i] = label;
        grid->addWidget(label, static_cast<int>(i), 0);
        grid->addWidget(list, static_cast<int>(i), 1);
        auto& m = modes_[i / 2];
        (i % 2 == 0 ? m.group : m.channel) = list;
    }

    close_ = new QPushButton(this);
    close_->setObjectName("CommandClose");
    connect(close_, &QPushButton::clicked, this, [this] { closeChildWindow(*this); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->addStretch(1);

    // Opening: fill the group lists, apply the texts, then show each mode's
    // stored group and run the group change as if the user had chosen it.
    filling_ = true;
    for (ResetMode mode : kModes) fill(controls(mode).group, resetGroupEntries(mode));
    filling_ = false;
    applyLanguageTexts();
    auto& options = app_.documents.working().Data.Options;
    for (ResetMode mode : kModes) {
        filling_ = true;
        controls(mode).group->setCurrentIndex(
            resetGroupEntryOf(mode, resetGroupField(options, mode)));
        filling_ = false;
        groupChanged(mode);
    }
    for (ResetMode mode : kModes) {
        connect(controls(mode).group, &QComboBox::currentIndexChanged, this,
                [this, mode] { groupChanged(mode); });
        connect(controls(mode).channel, &QComboBox::currentIndexChanged, this,
                [this, mode] { channelChanged(mode); });
    }
}

ResetModeWindow::ModeControls& ResetModeWindow::controls(ResetMode mode)
{
    return modes_[slot(mode)];
}
const ResetModeWindow::ModeControls& ResetModeWindow::controls(ResetMode mode) const
{
    return modes_[slot(mode)];
}

QComboBox* ResetModeWindow::groupList(ResetMode mode) const
{
    return controls(mode).group;
}
QComboBox* ResetModeWindow::channelList(ResetMode mode) const
{
    return controls(mode).channel;
}

void ResetModeWindow::applyLanguageTexts()
{
    setWindowTitle(app_.text(text::resetmode::ResetModeWindowCaption));
    for (std::size_t i = 0; i < labels_.size(); ++i)
        labels_[i]->setText(app_.text(kFirstLabelText + static_cast<int>(i)));
    captionCommonButtons(*this, app_.texts.lookup());
}

void ResetModeWindow::groupChanged(ResetMode mode)
{
    if (filling_) return;
    auto& options = app_.documents.working().Data.Options;
    chooseResetGroup(options, mode, controls(mode).group->currentIndex());
    showChannel(mode);
}

void ResetModeWindow::showChannel(ResetMode mode)
{
    auto& options = app_.documents.working().Data.Options;
    const int group = resetGroupField(options, mode);
    filling_ = true;
    fill(controls(mode).channel, resetChannelEntries(group));
    controls(mode).channel->setCurrentIndex(
        resetChannelEntryOf(group, resetChannelField(options, mode)));
    filling_ = false;
}

void ResetModeWindow::channelChanged(ResetMode mode)
{
    if (filling_) return;
    chooseResetChannel(app_.documents.working().Data.Options, mode,
                       controls(mode).channel->currentIndex());
}

}  // namespace zt::gui
