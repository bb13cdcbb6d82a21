#include "gui/channels/channel_field_setter.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "core/edit/channel_cell_rules.h"
#include "core/edit/channel_grid_rules.h"
#include "core/edit/channel_write_back.h"
#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/channels/channel_table_model.h"
#include "gui/channels/number_ranges.h"
#include "gui/text_codec.h"
#include "gui/widgets/common_buttons.h"

namespace zt::gui {
namespace {

constexpr int kVfoRepCode = 29;
constexpr int kBusyLockCode = 11;
constexpr int kBusyLockOnTone = 2;

// Why a channel does not take the value, or 0.
int refusal(const AppContext& app, int group, const ChannelRecord& rec, const SettableField& field,
            int value, const std::string& offset)
{
    const RadioData& data = app.documents.working().Data;
    if (field.offset) {
        if (!frequencyEditPermitted(data, group)) return text::msg::ReasonFixedFrequency;
        if (!transmitEntryAccepted(offset)) return text::msg::ReasonNotOffset;
        if (!transmitEntryOnRaster(rec, offset, app.state.Limits, group == 6))
            return text::msg::ReasonOffRaster;
        return 0;
    }
    if (field.fieldCode == kVfoRepCode && group != kVfoGroup)
        return text::others::ReasonOnlyVfoChannel;
    if (field.fieldCode == kBusyLockCode && value == kBusyLockOnTone && receiveTone(rec) == 0)
        return text::others::ReasonNeedsReceiveTone;
    return 0;
}

}  // namespace

std::vector<SettableField> settableFields(const AppContext& app, const ChannelTableModel& model)
{
    std::vector<SettableField> fields;
    fields.push_back({model.heading(kColTx).simplified(), kColTx, true, nullptr, {}});
    for (int col : {kColDecode, kColEncode, kColScanSkip, kColOptSignal, kColSpacing})
        fields.push_back(
            {model.heading(col).simplified(), col, false, nullptr, model.listEntries(col)});
    for (const ChannelField& f : extraChannelFields())
        if (f.fieldCode != 0)
            fields.push_back(
                {fieldHeading(app, f), f.fieldCode, false, &f, fieldEntries(app, f, nullptr)});
    return fields;
}

ChannelFieldSetDialog::ChannelFieldSetDialog(AppContext& app, std::vector<SettableField> fields,
                                             QWidget* parent)
    : QDialog(parent), fields_(std::move(fields))
{
    setObjectName(QStringLiteral("frmSetForSelected"));
    setWindowTitle(app.text(text::others::SetForSelectedWindowCaption));
    fieldList_ = new QComboBox(this);
    fieldList_->setObjectName(QStringLiteral("FieldList"));
    for (const SettableField& f : fields_) fieldList_->addItem(f.heading);
    valueList_ = new QComboBox;
    valueList_->setObjectName(QStringLiteral("ValueList"));
    valueList_->setMaxVisibleItems(20);
    valueBox_ = new QLineEdit;
    valueBox_->setObjectName(QStringLiteral("ValueBox"));
    valueBox_->setMaxLength(9);
    // What the grid's offset cell takes: a sign, digits and ".".
    valueBox_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[+-]?[0-9.]*")), valueBox_));
    valueStack_ = new QStackedWidget(this);
    valueStack_->addWidget(valueList_);
    valueStack_->addWidget(valueBox_);

    auto* form = new QFormLayout;
    auto* fieldLabel = new QLabel(app.text(text::others::SetForSelectedFieldLabel), this);
    fieldLabel->setBuddy(fieldList_);
    auto* valueLabel = new QLabel(app.text(text::others::SetForSelectedValueLabel), this);
    valueLabel->setBuddy(valueStack_);
    form->addRow(fieldLabel, fieldList_);
    form->addRow(valueLabel, valueStack_);
    valueList_->setAccessibleName(valueLabel->text());
    valueBox_->setAccessibleName(valueLabel->text());

    const OkCancelButtons buttons = newOkCancelButtons(*this);
    buttons.ok->setText(app.text(text::msg::OkCaption));
    buttons.cancel->setText(app.text(text::msg::CancelCaption));
    buttons.ok->setDefault(true);
    connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttonRow({buttons.ok, buttons.cancel}));

    connect(fieldList_, &QComboBox::currentIndexChanged, this,
            &ChannelFieldSetDialog::showValuesOf);
    showValuesOf(0);
}

void ChannelFieldSetDialog::showValuesOf(int field)
{
    if (field < 0 || field >= static_cast<int>(fields_.size())) return;
    const SettableField& f = fields_[static_cast<std::size_t>(field)];
    valueList_->clear();
    valueList_->addItems(f.entries);
    valueBox_->clear();
    valueStack_->setCurrentWidget(f.offset ? static_cast<QWidget*>(valueBox_) : valueList_);
}

const SettableField& ChannelFieldSetDialog::field() const
{
    return fields_[static_cast<std::size_t>(std::max(0, fieldList_->currentIndex()))];
}

int ChannelFieldSetDialog::entry() const
{
    return valueList_->currentIndex();
}

QString ChannelFieldSetDialog::offsetText() const
{
    return valueBox_->text();
}

int setFieldForRows(AppContext& app, const ChannelTableModel& model, const std::set<int>& rows,
                    const SettableField& field, int entry, const QString& offsetText)
{
    RadioDocument& doc = app.documents.working();
    const int group = model.group();
    const int value = field.extra ? fieldValueOfEntry(*field.extra, field.entries, entry) : entry;
    const std::string offset = toRecordText(offsetText);
    QStringList refusedLines;
    std::set<int> rowsWithoutChannel;
    int written = 0;
    for (int row : rows) {
        const int chNo = model.channelOfRow(row);
        const ChannelRecord* rec = doc.findChannel(chNo);
        if (!rec) {
            rowsWithoutChannel.insert(row + 1);
            continue;
        }
        int reason = refusal(app, group, *rec, field, value, offset);
        if (reason == 0) {
            const WriteBackResult result =
                writeBack(doc,
                          WriteBackRequest{group, row + 1, field.fieldCode,
                                           field.offset ? offset : std::to_string(value)},
                          app.state.Limits, app.habit.UseOffset);
            if (result.action == WriteBackAction::Refused)
                reason = field.offset ? static_cast<int>(text::msg::ReasonNotOffset)
                                      : static_cast<int>(text::msg::ReasonFixedFrequency);
            else
                ++written;
        }
        if (reason != 0)
            refusedLines << app.text(text::others::SetForSelectedRefusedChannel)
                                .arg(QString::number(chNo), QString::number(row + 1),
                                     app.text(reason));
        emit app.events.channelChanged(chNo);
    }
    if (!app.prompt) return written;
    if (written == 0 && refusedLines.isEmpty()) {
        app.prompt->show(text::others::SetForSelectedNoChannel, Icon::Information);
        return 0;
    }
    if (refusedLines.isEmpty()) return written;
    QStringList lines = refusedLines;
    if (!rowsWithoutChannel.empty())
        lines << app.text(rowsWithoutChannel.size() == 1
                              ? text::others::SetForSelectedRowWithoutChannel
                              : text::others::SetForSelectedRowsWithoutChannel)
                     .arg(numberRanges(rowsWithoutChannel));
    Message m;
    // Said as it is when no channel took the value: "set for the other
    // channels" would claim a change that did not happen.
    m.textId =
        written == 0 ? text::others::SetForSelectedRefusedAll : text::others::SetForSelectedRefused;
    m.text = lines.join('\n').toStdString();
    m.details = m.text;
    m.icon = Icon::Warning;
    app.prompt->ask(m);
    return written;
}

}  // namespace zt::gui
