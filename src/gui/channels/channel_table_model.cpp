#include "gui/channels/channel_table_model.h"

#include <QColor>

#include "core/text_ids.h"
#include "core/values/tones.h"
#include "gui/app_context.h"
#include "gui/text_codec.h"

namespace zt::gui {
namespace {

constexpr std::array<int, kGridColumns> kHeadingIds = {
    text::channelinfo::GridHeadingRowNumber,
    text::channelinfo::GridHeadingReceiveFrequency,
    text::channelinfo::GridHeadingSignedTransmitOffset,
    text::channelinfo::GridHeadingChannelName,
    text::channelinfo::GridHeadingDecodeTone,
    text::channelinfo::GridHeadingEncodeTone,
    text::channelinfo::GridHeadingPower,
    text::channelinfo::GridHeadingScanList,
    text::channelinfo::GridHeadingOptionalSignalling,
    text::channelinfo::GridHeadingChannelSpacing,
    text::channelinfo::GridHeadingOpenTheChannelEditor};
const QColor kHeadingColour(0, 0, 155);
const QColor kRowNumberColour(0, 0, 255);
const QColor kButtonColour(255, 0, 0);
const QColor kButtonBackground(220, 220, 220);
// Behind the fixed blue row numbers, so that they stay readable on a dark palette.
const QColor kRowNumberBackground(255, 255, 255);

bool isListColumn(int col)
{
    return col >= kColDecode && col <= kColSpacing;
}

}  // namespace

ChannelTableModel::ChannelTableModel(AppContext& app, QObject* parent)
    : QAbstractTableModel(parent), app_(app)
{
    writeBack_ = [this](const WriteBackRequest& request) {
        return writeBack(app_.documents.working(), request, app_.state.Limits,
                         app_.habit.UseOffset);
    };
    retranslate();
}

void ChannelTableModel::setGroup(int group)
{
    beginResetModel();
    group_ = group;
    endResetModel();
}

void ChannelTableModel::setWholeChannel(bool on)
{
    if (on == wholeChannel_) return;
    beginResetModel();
    wholeChannel_ = on;
    endResetModel();
}

const ChannelField* ChannelTableModel::extraField(int col) const
{
    const auto& fields = extraChannelFields();
    const int i = col - kGridColumns;
    if (!wholeChannel_ || i < 0 || i >= static_cast<int>(fields.size())) return nullptr;
    return &fields[static_cast<std::size_t>(i)];
}

QString ChannelTableModel::heading(int col) const
{
    if (col >= 0 && col < kGridColumns) return headings_[col];
    const ChannelField* field = extraField(col);
    return field ? fieldHeading(app_, *field) : QString();
}

QStringList ChannelTableModel::listEntries(int row, int col) const
{
    const ChannelField* field = extraField(col);
    if (!field) return listEntries(col);
    return fieldEntries(app_, *field, app_.documents.working().findChannel(channelOfRow(row)));
}

void ChannelTableModel::retranslate()
{
    for (int c = 0; c < kGridColumns; ++c) headings_[c] = app_.text(kHeadingIds[c]);
    fieldTexts_ = FieldTexts::of(app_);
    const QString none = app_.text(text::channelinfo::ListEntryNoToneNoneOff);
    QStringList tones{none};
    for (int t = 1; t < kToneCount; ++t) tones << QString::fromStdString(toneText(t));
    lists_[kColDecode] = tones;
    lists_[kColEncode] = tones;
    lists_[6].clear();
    for (int i = 0; i < 3; ++i) lists_[6] << app_.text(text::channelinfo::PowerListEntry0 + i);
    lists_[kColScanSkip] = {app_.text(text::channelinfo::ScanListEntry0ChannelIsScanned),
                            app_.text(text::channelinfo::ScanListEntry0ChannelIsScanned + 1)};
    lists_[kColOptSignal] = {none, app_.text(text::channelinfo::OptionalSignallingEntry1)};
    lists_[kColSpacing].clear();
    for (int i = 0; i < 3; ++i)
        lists_[kColSpacing] << app_.text(text::channelinfo::SpacingEntry0 + i);
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    refreshAll();
}

void ChannelTableModel::refreshChannel(int chNo)
{
    const int row = chNo - GroupBase(group_) - 1;
    if (row < 0 || row >= rowCount()) return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void ChannelTableModel::refreshAll()
{
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

const QStringList& ChannelTableModel::listEntries(int col) const
{
    static const QStringList none;
    return col >= 0 && col < kGridColumns ? lists_[col] : none;
}

bool ChannelTableModel::frequencyEditable() const
{
    return frequencyEditPermitted(app_.documents.working().Data, group_);
}

int ChannelTableModel::channelOfRow(int row) const
{
    return GroupBase(group_) + row + 1;
}

bool ChannelTableModel::rowHasChannel(int row) const
{
    return app_.documents.working().findChannel(channelOfRow(row)) != nullptr;
}

bool ChannelTableModel::rowFrequencyUnreadable(int row) const
{
    const ChannelRecord* rec = app_.documents.working().findChannel(channelOfRow(row));
    bool notNumeric = false;
    if (rec) (void)rxCellText(*rec, app_.state.Limits, &notNumeric);
    return notNumeric;
}

QString ChannelTableModel::cellText(int row, int col) const
{
    if (col == kColRow) return QString::number(row + 1);
    if (col == kColEditor) return QStringLiteral(">>");
    const ChannelRecord* rec = app_.documents.working().findChannel(channelOfRow(row));
    if (!rec) return {};
    if (const ChannelField* field = extraField(col))
        return fieldCellText(fieldTexts_, app_.state.Limits, *field, *rec);
    switch (col) {
        case kColRx:
            return QString::fromStdString(rxCellText(*rec, app_.state.Limits));
        case kColTx:
            return QString::fromStdString(txCellText(*rec));
        case kColDecode:
        case kColEncode:
        case kColScanSkip:
        case kColOptSignal:
        case kColSpacing: {
            const int stored = col == kColDecode      ? rec->DecodeTone
                               : col == kColEncode    ? rec->EncodeTone
                               : col == kColScanSkip  ? rec->ScanSkip
                               : col == kColOptSignal ? rec->OptSignal
                                                      : rec->Spacing;
            const QStringList& entries = lists_[col];
            const int shown = shownListIndex(stored, static_cast<int>(entries.size()));
            return shown < 0 ? QString() : entries[shown];
        }
        default:
            return {};  // columns 3 and 6 store nothing
    }
}

WriteBackResult ChannelTableModel::writeCell(int row, int col, const std::string& value)
{
    const ChannelField* field = extraField(col);
    const int code = field ? field->fieldCode : col;
    const WriteBackResult result = writeBack_(WriteBackRequest{group_, row + 1, code, value});
    if (result.action == WriteBackAction::Created || result.action == WriteBackAction::Deleted)
        refreshAll();  // the row and what other rows show of the group
    else
        refreshChannel(result.chNo);
    return result;
}

int ChannelTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : GroupSize(group_);
}

int ChannelTableModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid()) return 0;
    return kGridColumns + (wholeChannel_ ? static_cast<int>(extraChannelFields().size()) : 0);
}

QVariant ChannelTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) return {};
    const int col = index.column();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return cellText(index.row(), col);
        case Qt::AccessibleTextRole:
            // Read out alone, a cell says its column and channel along with its value.
            return app_.text(text::main::AccessGridCell)
                .arg(heading(col).simplified(), QString::number(channelOfRow(index.row())),
                     cellText(index.row(), col));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        case Qt::ForegroundRole:
            if (col == kColRow) return kRowNumberColour;
            if (col == kColEditor) return kButtonColour;
            return {};
        case Qt::BackgroundRole:
            if (col == kColRow) return kRowNumberBackground;
            return col == kColEditor ? QVariant(kButtonBackground) : QVariant();
        default:
            return {};
    }
}

QVariant ChannelTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
        case Qt::DisplayRole:
            return heading(section);
        case Qt::ForegroundRole:
            return kHeadingColour;
        default:  // alignment and wrapping are the header's
            return {};
    }
}

Qt::ItemFlags ChannelTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int col = index.column();
    if (col == kColRow || col == kColEditor) return f;
    if (const ChannelField* field = extraField(col)) {
        // Fields no window lets the user choose are shown, never typed.
        const bool typed =
            field->kind != FieldKind::Number && field->kind != FieldKind::TxFrequency;
        return typed && fieldEditableInGroup(*field, group_) ? f | Qt::ItemIsEditable : f;
    }
    if ((col == kColRx || col == kColTx) && !frequencyEditable()) return f;
    return f | Qt::ItemIsEditable;
}

bool ChannelTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole) return false;
    const int col = index.column();
    if (const ChannelField* field = extraField(col)) {
        const int stored = fieldValueOfEntry(*field, listEntries(index.row(), col), value.toInt());
        return writeCell(index.row(), col, std::to_string(stored)).action !=
               WriteBackAction::Refused;
    }
    const std::string text =
        isListColumn(col) ? std::to_string(value.toInt()) : toRecordText(value.toString());
    return writeCell(index.row(), col, text).action != WriteBackAction::Refused;
}

}  // namespace zt::gui
