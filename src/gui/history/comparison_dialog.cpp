#include "gui/history/comparison_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/text_ids.h"
#include "gui/app_context.h"

namespace zt::gui {

namespace {

constexpr int kChannelRole = Qt::UserRole + 1;

}  // namespace

ComparisonWords comparisonWords(const AppContext& app)
{
    return ComparisonWords(app.texts.lookup());
}

QString comparisonCountsText(const AppContext& app, const DocumentComparison& comparison,
                             int textId)
{
    const ComparisonWords words = comparisonWords(app);
    return app.text(textId).arg(
        QString::fromStdString(channelCount(comparison.channels.size(), words)),
        QString::fromStdString(settingCount(comparison.settings.size(), words)));
}

ComparisonDialog::ComparisonDialog(AppContext& app, const DocumentComparison& comparison, Mode mode,
                                   QWidget* parent)
    : QDialog(parent)
{
    setObjectName(mode == Mode::WritePreview ? "FrmWritePreview" : "FrmComparison");
    setWindowTitle(app.text(mode == Mode::WritePreview ? text::msg::WritePreviewCaption
                                                       : text::msg::ComparisonCaption));
    resize(760, 520);
    auto* column = new QVBoxLayout(this);
    counts_ = new QLabel(this);
    counts_->setObjectName("LabelCounts");
    counts_->setWordWrap(true);
    if (comparison.equal())
        counts_->setText(app.text(mode == Mode::WritePreview ? text::msg::WritePreviewNothing
                                                             : text::msg::ComparisonNothing));
    else
        counts_->setText(comparisonCountsText(app, comparison,
                                              mode == Mode::WritePreview
                                                  ? text::msg::WritePreviewCounts
                                                  : text::msg::ComparisonCounts));
    column->addWidget(counts_);

    list_ = new QTreeWidget(this);
    list_->setObjectName("DifferenceList");
    list_->setHeaderHidden(true);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);  // stays quick with every channel listed
    const ComparisonWords words = comparisonWords(app);
    QTreeWidgetItem* heading = nullptr;
    int group = -2;
    for (const ChannelDifference& ch : comparison.channels) {
        if (ch.group != group || heading == nullptr) {
            group = ch.group;
            heading =
                new QTreeWidgetItem(list_, {QString::fromStdString(groupHeading(group, words))});
            heading->setFirstColumnSpanned(true);
        }
        auto* item = new QTreeWidgetItem(heading, {QString::fromStdString(channelLine(ch, words))});
        item->setData(0, kChannelRole, ch.chNo);
    }
    bool first = true;
    SettingSection section = SettingSection::Settings;
    for (const SettingDifference& s : comparison.settings) {
        if (first || s.section != section) {
            first = false;
            section = s.section;
            heading =
                new QTreeWidgetItem(list_, {QString::fromStdString(sectionName(section, words))});
        }
        new QTreeWidgetItem(heading, {QString::fromStdString(settingLine(s, words))});
    }
    list_->expandAll();
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { itemActivated(item); });
    connect(list_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item, int) { itemActivated(item); });
    column->addWidget(list_, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    if (mode == Mode::WritePreview) {
        auto* write = new QPushButton(app.text(text::msg::WriteButton), this);
        write->setObjectName("CommandWrite");
        write->setAutoDefault(false);
        auto* cancel = new QPushButton(app.text(text::msg::CancelCaption), this);
        cancel->setObjectName("CommandCancel");
        cancel->setDefault(true);  // Enter alone never writes to the radio
        buttons->addWidget(write);
        buttons->addWidget(cancel);
        connect(write, &QPushButton::clicked, this, &QDialog::accept);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        cancel->setFocus();
    } else {
        auto* close = new QPushButton(app.text(text::msg::CloseCaption), this);
        close->setObjectName("CommandClose");
        close->setDefault(true);
        buttons->addWidget(close);
        connect(close, &QPushButton::clicked, this, &QDialog::reject);
    }
    column->addLayout(buttons);
}

void ComparisonDialog::itemActivated(QTreeWidgetItem* item)
{
    const QVariant chNo = item ? item->data(0, kChannelRole) : QVariant();
    if (chNo.isValid()) emit channelChosen(chNo.toInt());
}

}  // namespace zt::gui
