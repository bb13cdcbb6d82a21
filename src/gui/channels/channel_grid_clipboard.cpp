#include "gui/channels/channel_grid_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "core/edit/channel_cell_rules.h"
#include "core/edit/tab_separated.h"
#include "core/radio/channel_edit.h"
#include "core/text_ids.h"
#include "core/values/frequency.h"
#include "gui/app_context.h"
#include "gui/channels/channel_grid_view.h"
#include "gui/channels/channel_table_model.h"
#include "gui/channels/number_ranges.h"

namespace zt::gui {
namespace {

// Columns that hold a channel's stored values; the row numbers and the editor column are
// the grid's own.
constexpr int kFirstValueColumn = kColRx;
constexpr int kLastValueColumn = kLastEditableColumn;
// A long list of refusals is cut after this many lines in the box's text (the details hold
// all of them).
constexpr std::size_t kListedLines = 15;

int reasonText(CellRefusal why)
{
    switch (why) {
        case CellRefusal::NotFrequency:
            return text::msg::ReasonNotFrequency;
        case CellRefusal::OutsideBand:
            return text::msg::ReasonOutsideBand;
        case CellRefusal::NotOffset:
            return text::msg::ReasonNotOffset;
        case CellRefusal::NotInList:
            return text::msg::ReasonNotInList;
        case CellRefusal::FixedFrequency:
            return text::msg::ReasonFixedFrequency;
        case CellRefusal::NoChannel:
            return text::msg::ReasonNoChannel;
        case CellRefusal::OffRaster:
            return text::msg::ReasonOffRaster;
        case CellRefusal::NoField:
        case CellRefusal::None:
            break;
    }
    return text::msg::ReasonNoField;
}

bool isListColumn(int col)
{
    return col == kColDecode || col == kColEncode || col == kColScanSkip || col == kColOptSignal ||
           col == kColSpacing;
}

std::vector<std::string> utf8Entries(const QStringList& entries)
{
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(entries.size()));
    for (const QString& e : entries) out.push_back(e.toStdString());
    return out;
}

}  // namespace

ChannelGridClipboard::Area ChannelGridClipboard::selectedArea() const
{
    QModelIndexList cells = view_.selectionModel()->selectedIndexes();
    if (cells.isEmpty() && view_.currentIndex().isValid()) cells << view_.currentIndex();
    Area area;
    for (const QModelIndex& i : cells) {
        if (area.empty()) {
            area = Area{i.row(), i.column(), i.row(), i.column()};
            continue;
        }
        area.top = std::min(area.top, i.row());
        area.bottom = std::max(area.bottom, i.row());
        area.left = std::min(area.left, i.column());
        area.right = std::max(area.right, i.column());
    }
    return area;
}

bool ChannelGridClipboard::isSelected(int row, int col) const
{
    const QModelIndex index = view_.model()->index(row, col);
    if (view_.selectionModel()->hasSelection()) return view_.selectionModel()->isSelected(index);
    return index == view_.currentIndex();
}

QString ChannelGridClipboard::copy()
{
    view_.commitOpenEditor();
    const Area area = selectedArea();
    const int left = std::max(area.left, kFirstValueColumn);
    const int right = std::min(area.right, kLastValueColumn);
    if (area.empty() || left > right) return {};
    CellBlock block;
    for (int row = area.top; row <= area.bottom; ++row) {
        std::vector<std::string> cells;
        for (int col = left; col <= right; ++col)
            cells.push_back(isSelected(row, col) ? view_.cellText(row, col).toStdString()
                                                 : std::string());
        block.push_back(std::move(cells));
    }
    const QString text = QString::fromStdString(formatTabSeparated(block));
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(text);
    return text;
}

void ChannelGridClipboard::deleteRowChannel(int row, std::vector<Refused>& kept)
{
    ChannelTableModel& model = *view_.channelModel();
    if (!model.rowHasChannel(row)) return;
    const QString before = view_.cellText(row, kColRx);
    const WriteBackResult result = model.writeCell(row, kColRx, std::string());
    if (result.action == WriteBackAction::Deleted) return;
    kept.push_back(Refused{row, kColRx, before,
                           result.action == WriteBackAction::Refused
                               ? static_cast<int>(text::msg::ReasonFixedFrequency)
                               : static_cast<int>(text::msg::ReasonLastChannel)});
}

void ChannelGridClipboard::cut()
{
    if (copy().isEmpty()) return;
    const Area area = selectedArea();
    ChannelTableModel& model = *view_.channelModel();
    std::vector<Refused> kept;
    for (int row = area.top; row <= area.bottom; ++row) {
        if (!model.rowHasChannel(row)) continue;
        if (isSelected(row, kColRx)) {
            deleteRowChannel(row, kept);
            continue;
        }
        for (int col = kColTx; col <= kLastValueColumn; ++col) {
            if (!isSelected(row, col)) continue;
            if (col == kColTx) {
                const QString before = view_.cellText(row, col);
                if (model.writeCell(row, col, "0").action == WriteBackAction::Refused)
                    kept.push_back(Refused{row, col, before,
                                           static_cast<int>(text::msg::ReasonFixedFrequency)});
            } else if (isListColumn(col)) {
                (void)model.writeCell(row, col, "0");
            }
        }
    }
    reportRefused(text::msg::CutCellsKept, kept, 0, true);
}

void ChannelGridClipboard::pasteFromClipboard()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    paste(clipboard ? clipboard->text() : QString());
}

void ChannelGridClipboard::paste(const QString& text)
{
    view_.commitOpenEditor();
    const CellBlock block = parseTabSeparated(text.toStdString());
    const Area area = selectedArea();
    if (block.empty() || area.empty()) {
        if (app_.prompt) app_.prompt->show(text::msg::PasteNothing, Icon::Information);
        return;
    }
    ChannelTableModel& model = *view_.channelModel();
    const int left = std::max(area.left, kFirstValueColumn);
    std::vector<Refused> refused;
    int rowsBeyond = 0;
    for (std::size_t r = 0; r < block.size(); ++r) {
        const int row = area.top + static_cast<int>(r);
        if (row >= model.rowCount()) {
            ++rowsBeyond;
            continue;
        }
        pasteRow(row, left, block[r], refused);
    }
    reportRefused(text::msg::PasteCellsRefused, refused, rowsBeyond, true);
}

void ChannelGridClipboard::pasteRow(int row, int left, const std::vector<std::string>& cells,
                                    std::vector<Refused>& refused)
{
    ChannelTableModel& model = *view_.channelModel();
    const RadioData& data = app_.documents.working().Data;
    const int chNo = GroupBase(model.group()) + row + 1;
    const auto toneOf = [&](int col) -> int {
        const ChannelRecord* rec = app_.documents.working().findChannel(chNo);
        if (!rec) return 0;
        return col == kColDecode ? rec->DecodeTone : rec->EncodeTone;
    };
    // The tones the row leaves: a pasted row is taken as a whole, so the rule that copies a
    // first tone into the other direction must not act between two cells of one row.
    std::map<int, int> tones;
    for (int col : {kColDecode, kColEncode})
        if (col >= left && col < left + static_cast<int>(cells.size())) tones[col] = toneOf(col);

    for (std::size_t c = 0; c < cells.size(); ++c) {
        const int col = left + static_cast<int>(c);
        const std::string& cell = cells[c];
        const QString shownValue = QString::fromStdString(cell);
        if (col > kLastValueColumn) {
            // The extra columns of the whole channel store values, but paste fills the grid's
            // own columns only: a value they already show changes nothing, another is listed.
            const bool extra = model.extraField(col) != nullptr;
            if (extra && shownValue == view_.cellText(row, col)) continue;
            if (!shownValue.trimmed().isEmpty())
                refused.push_back(
                    Refused{row, col, shownValue,
                            extra ? static_cast<int>(text::others::ReasonPasteOwnColumnsOnly)
                                  : static_cast<int>(text::msg::ReasonNoField)});
            continue;
        }
        const std::vector<std::string> entries =
            isListColumn(col) ? utf8Entries(model.listEntries(col)) : std::vector<std::string>();
        const std::string shown = view_.cellText(row, col).toStdString();
        const CellEntry entry =
            checkPastedCell(data, app_.state.Limits,
                            CellTarget{model.group(), col, model.rowHasChannel(row),
                                       isListColumn(col) ? &entries : nullptr, shown},
                            cell);
        if (entry.refusal != CellRefusal::None) {
            refused.push_back(Refused{row, col, shownValue, reasonText(entry.refusal)});
            continue;
        }
        if (entry.skip) {
            // A tone equal to the one shown is the pasted tone.
            if (tones.count(col) && !shownValue.trimmed().isEmpty()) tones[col] = toneOf(col);
            continue;
        }
        if (col == kColRx && model.rowHasChannel(row) && !entry.value.empty() &&
            !receiveFrequencyEditable(chNo) && parseTenHz(entry.value) != parseTenHz(shown)) {
            // Listed with the other refusals instead of a message box for each cell.
            refused.push_back(Refused{row, col, shownValue,
                                      static_cast<int>(text::msg::ReasonReceiveFrequencyFixed)});
            continue;
        }
        if (col == kColTx) {
            const ChannelRecord* rec = app_.documents.working().findChannel(chNo);
            if (rec &&
                !transmitEntryOnRaster(*rec, entry.value, app_.state.Limits, model.group() == 6)) {
                refused.push_back(
                    Refused{row, col, shownValue, reasonText(CellRefusal::OffRaster)});
                continue;
            }
        }
        const WriteBackResult result = model.writeCell(row, col, entry.value);
        if (result.action == WriteBackAction::Refused) {
            refused.push_back(Refused{
                row, col, shownValue,
                reasonText(col == kColTx ? CellRefusal::NotOffset : CellRefusal::FixedFrequency)});
        } else if (col == kColRx && entry.value.empty() &&
                   result.action != WriteBackAction::Deleted) {
            refused.push_back(
                Refused{row, col, shownValue, static_cast<int>(text::msg::ReasonLastChannel)});
        } else if (tones.count(col)) {
            tones[col] = std::stoi(entry.value);
        }
    }
    if (!app_.documents.working().findChannel(chNo)) return;
    for (const auto& [col, tone] : tones)
        if (toneOf(col) != tone) (void)model.writeCell(row, col, std::to_string(tone));
}

void ChannelGridClipboard::deleteSelectedChannels()
{
    view_.commitOpenEditor();
    std::set<int> rows;
    for (const QModelIndex& i : view_.selectionModel()->selectedIndexes()) rows.insert(i.row());
    if (rows.empty() && view_.currentIndex().isValid()) rows.insert(view_.currentIndex().row());
    std::vector<Refused> kept;
    for (int row : rows) deleteRowChannel(row, kept);
    reportRefused(text::msg::DeleteChannelsKept, kept, 0, false);
}

void ChannelGridClipboard::reportRefused(int headingId, const std::vector<Refused>& refused,
                                         int rowsBeyond, bool withCells)
{
    if ((refused.empty() && rowsBeyond == 0) || !app_.prompt) return;
    const ChannelTableModel& model = *view_.channelModel();
    // The refusals that name a value the user meant to store come first, one a line; cells of
    // columns that store nothing and of rows without a channel are said once each, so a
    // pasted block with hidden columns does not bury them.
    QStringList lines;
    std::set<int> columnsNotStored;
    std::set<int> rowsWithoutChannel;
    for (const Refused& r : refused) {
        const QString reason = app_.text(r.reasonId);
        const QString row = QString::number(r.row + 1);
        if (!withCells) {
            lines << app_.text(text::msg::DeleteKeptChannel).arg(row, reason);
            continue;
        }
        if (r.reasonId == text::msg::ReasonNoField) {
            columnsNotStored.insert(r.col);
            continue;
        }
        if (r.reasonId == text::msg::ReasonNoChannel) {
            rowsWithoutChannel.insert(r.row + 1);
            continue;
        }
        const QString column = r.col <= kLastValueColumn || model.extraField(r.col)
                                   ? model.heading(r.col).simplified()
                                   : QString::number(r.col);
        lines << app_.text(text::msg::PasteRefusedCell).arg(row, column, r.value, reason);
    }
    QStringList shown = lines.mid(0, static_cast<qsizetype>(kListedLines));
    if (lines.size() > static_cast<qsizetype>(kListedLines))
        shown << app_.text(text::msg::PasteMoreRefused)
                     .arg(static_cast<qulonglong>(lines.size()) - kListedLines);
    QStringList summary;
    if (!columnsNotStored.empty())
        summary << app_.text(text::msg::PasteColumnsNotStored).arg(numberRanges(columnsNotStored));
    if (!rowsWithoutChannel.empty())
        summary
            << app_.text(text::msg::PasteRowsWithoutChannel).arg(numberRanges(rowsWithoutChannel));
    if (rowsBeyond > 0) summary << app_.text(text::msg::PasteRowsBeyondGroup).arg(rowsBeyond);
    Message m;
    m.textId = refused.empty() ? 0 : headingId;
    m.text = (shown + summary).join('\n').toStdString();
    // The whole list, to read and copy in the box.
    m.details = (lines + summary).join('\n').toStdString();
    m.icon = Icon::Warning;
    app_.prompt->ask(m);
}

}  // namespace zt::gui
