#pragma once

#include <QWidget>

class QTableWidget;

namespace zt::gui {

struct AppContext;

// Stands in for the channel grid until it is built: a read-only table of the
// open document's channels (number, receive frequency, offset). It carries
// the grid's window name, so every command that opens the grid opens it.
class PlaceholderCommChInfo : public QWidget {
    Q_OBJECT
  public:
    explicit PlaceholderCommChInfo(AppContext& app, QWidget* parent = nullptr);

    Q_INVOKABLE void applyLanguageTexts();
    Q_INVOKABLE void commitPendingEdits() {}
    // Fills the table from the working document.
    void reShowGrid();

  private:
    AppContext& app_;
    QTableWidget* grid_;
};

}  // namespace zt::gui
