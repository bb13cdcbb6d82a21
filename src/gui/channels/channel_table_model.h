#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/edit/channel_grid_rules.h"
#include "core/edit/channel_write_back.h"
#include "gui/channels/channel_fields.h"

namespace zt::gui {

struct AppContext;

// The working document's channel table as the grid shows it: one row per channel position of
// the shown group (row r is channel GroupBase + r + 1), the grid's eleven columns, and with the
// whole channel in view one more column for each other stored field. Cells are
// read from the document every time, so the grid never holds a copy that could go stale.
// Edits go through the write-back, the one operation that changes a channel.
class ChannelTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using WriteBackFn = std::function<WriteBackResult(const WriteBackRequest&)>;

    explicit ChannelTableModel(AppContext& app, QObject* parent = nullptr);

    // The write-back the model calls; by default the document rule alone (no messages).
    void setWriteBack(WriteBackFn fn) { writeBack_ = std::move(fn); }

    int group() const { return group_; }
    void setGroup(int group);
    // Adds (or takes away) a column for every stored field the grid's own columns leave out.
    void setWholeChannel(bool on);
    bool wholeChannel() const { return wholeChannel_; }
    // The stored field of an extra column (from kGridColumns on), or null.
    const ChannelField* extraField(int col) const;

    // Headings and list entries in the current language.
    void retranslate();
    // The row of a channel number was changed elsewhere; nothing for channels of other groups.
    void refreshChannel(int chNo);
    void refreshAll();

    // Entries of a list column (4, 5, 7, 8, 9; also 6, which stores nothing) in list order.
    const QStringList& listEntries(int col) const;
    // The entries a row's list editor offers in a column (an extra field's entries may
    // depend on its channel).
    QStringList listEntries(int row, int col) const;
    // The heading of a column.
    QString heading(int col) const;
    // Whether the frequency columns of the shown group take entries.
    bool frequencyEditable() const;
    // The channel number of a row (0-based), and whether a channel sits there.
    int channelOfRow(int row) const;
    bool rowHasChannel(int row) const;
    // Channels whose stored receive frequency is no number (shown as the lower band limit).
    bool rowFrequencyUnreadable(int row) const;

    // Writes a value (a text for columns 1..3, a list index of the grid's own columns, the
    // stored value of an extra field) through the write-back.
    WriteBackResult writeCell(int row, int col, const std::string& value);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Text columns take a QString, list columns an int index. False when the write-back
    // refused the value.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

  private:
    QString cellText(int row, int col) const;

    AppContext& app_;
    int group_ = 0;
    bool wholeChannel_ = false;
    WriteBackFn writeBack_;
    std::array<QStringList, kGridColumns> lists_{};
    std::array<QString, kGridColumns> headings_{};
    FieldTexts fieldTexts_;
};

}  // namespace zt::gui
