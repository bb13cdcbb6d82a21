#pragma once

#include <QString>
#include <string>
#include <vector>

namespace zt::gui {

struct AppContext;
class ChannelGridView;

// Spreadsheet-like editing of the channel grid: copy, cut and paste of cells and rows as
// tab-separated text, and deleting the channels of several rows. Every value goes through
// the same rules and write-back as typing; whatever is refused or kept is listed to the
// user through the prompt service, never dropped silently.
class ChannelGridClipboard {
  public:
    ChannelGridClipboard(AppContext& app, ChannelGridView& view) : app_(app), view_(view) {}

    // The selected cells (the rectangle around them; cells outside the selection stay
    // empty) as tab-separated text. Columns 1..9: a whole row gives every stored column, so
    // it pastes back into another row unchanged. Also put on the clipboard.
    QString copy();
    // Copies, then clears the selected cells: a selected receive frequency deletes the
    // channel, a list cell goes back to its first entry, an offset to none.
    void cut();
    // Writes a block into the grid from the top-left selected cell (from column 1 when the
    // selection starts on the row numbers).
    void paste(const QString& text);
    void pasteFromClipboard();
    // Deletes the channels of every row that holds a selected cell.
    void deleteSelectedChannels();

  private:
    struct Refused {
        int row = 0;  // 0-based
        int col = 0;
        QString value;
        int reasonId = 0;
    };
    struct Area {
        int top = -1, left = -1, bottom = -1, right = -1;
        bool empty() const { return top < 0; }
    };
    Area selectedArea() const;
    // Writes one pasted row from column `left`; refused cells are added to `refused`.
    void pasteRow(int row, int left, const std::vector<std::string>& cells,
                  std::vector<Refused>& refused);
    bool isSelected(int row, int col) const;
    // Deletes the channel of a row; a channel the rules keep is added to `kept`.
    void deleteRowChannel(int row, std::vector<Refused>& kept);
    void reportRefused(int headingId, const std::vector<Refused>& refused, int rowsBeyond,
                       bool withCells);

    AppContext& app_;
    ChannelGridView& view_;
};

}  // namespace zt::gui
