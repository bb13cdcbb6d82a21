#pragma once

#include <QDialog>
#include <QString>

class QRadioButton;

namespace zt::gui {

struct AppContext;

// A small modal window that asks one of two ways to go on (which channels to
// export, how to import), with OK and Cancel. The first way is preselected.
class CsvChoiceDialog : public QDialog {
    Q_OBJECT
  public:
    struct Choice {
        QString objectName;  // of the option button, so tests can pick it
        QString text;
    };
    CsvChoiceDialog(AppContext& app, const QString& objectName, int captionId, const Choice& first,
                    const Choice& second, QWidget* parent = nullptr);

    bool secondChosen() const;

  private:
    QRadioButton* first_ = nullptr;
    QRadioButton* second_ = nullptr;
};

}  // namespace zt::gui
