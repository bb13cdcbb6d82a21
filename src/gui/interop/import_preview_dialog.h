#pragma once

#include <QDialog>
#include <vector>

#include "core/interop/chirp_csv.h"

class QLabel;
class QPushButton;
class QTableWidget;
class QTreeWidget;

namespace zt::gui {

struct AppContext;

// The preview of an import: every channel the file changes, with each field's
// value now and after the import, and every row that cannot be taken with its
// line number and reason. Each channel can be unticked to leave it as it is.
// Nothing is changed here; the caller applies the channels still ticked when
// the window is accepted with "Import".
class ImportPreviewDialog : public QDialog {
    Q_OBJECT
  public:
    ImportPreviewDialog(AppContext& app, const ImportPlan& plan, QWidget* parent = nullptr);

    // Channel numbers of the changes still ticked, in the order of the file.
    std::vector<int> chosenChannels() const;

    QTreeWidget* changeList() const { return changes_; }
    QTableWidget* errorList() const { return errors_; }
    QPushButton* importButton() const { return import_; }

  private:
    void fillChanges(const ImportPlan& plan);
    void fillErrors(const ImportPlan& plan);
    void updateImportButton();

    AppContext& app_;
    QLabel* summary_ = nullptr;
    QTreeWidget* changes_ = nullptr;
    QTableWidget* errors_ = nullptr;
    QPushButton* import_ = nullptr;
};

}  // namespace zt::gui
