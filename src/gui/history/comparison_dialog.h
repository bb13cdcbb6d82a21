#pragma once

#include <QDialog>

#include "core/interop/document_compare.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zt::gui {

struct AppContext;

// The comparison's words in the language the user chose.
ComparisonWords comparisonWords(const AppContext& app);

// The counts of a comparison in the text `textId` ("%1 and %2 will change."), with "1 channel"
// and "2 channels" worded by number.
QString comparisonCountsText(const AppContext& app, const DocumentComparison& comparison,
                             int textId);

// The differences between two documents: one line per channel under its group, then the
// settings, DTMF, tone tips and texts by section, and the counts. As a write preview it asks
// Write or Cancel, Cancel being the default; as a plain comparison it only closes.
// Double-clicking a channel's line asks to show that channel.
class ComparisonDialog : public QDialog {
    Q_OBJECT
  public:
    enum class Mode { Compare, WritePreview };

    ComparisonDialog(AppContext& app, const DocumentComparison& comparison, Mode mode,
                     QWidget* parent = nullptr);

    QTreeWidget* differenceList() const { return list_; }
    QLabel* countsLabel() const { return counts_; }

  signals:
    void channelChosen(int chNo);

  private:
    void itemActivated(QTreeWidgetItem* item);

    QTreeWidget* list_ = nullptr;
    QLabel* counts_ = nullptr;
};

}  // namespace zt::gui
