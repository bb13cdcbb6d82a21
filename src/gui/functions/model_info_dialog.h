#pragma once

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace zt::gui {

struct AppContext;

// The model-information window: the model and the band the document is for.
// OK with a different model or band asks (9016) and, confirmed, makes them
// current and starts a new document through `loadNewDoc` (the main window's
// scheduleNewDocument). Modal; shown through PromptService::execModal.
class ModelInfoDialog : public QDialog {
    Q_OBJECT
  public:
    ModelInfoDialog(AppContext& app, std::function<void()> loadNewDoc, QWidget* parent = nullptr);
    explicit ModelInfoDialog(AppContext& app, QWidget* parent = nullptr);

    // Runs after a confirmed change; may be set after construction.
    std::function<void()> loadNewDoc;

    // The models the window offers, and the bands of a model.
    static QStringList modelEntries();
    static QStringList bandEntries(const QString& model);

    void applyLanguageTexts();

  private:
    void commandOkClick();

    AppContext& app_;
    QLabel* modelLabel_ = nullptr;
    QLabel* bandLabel_ = nullptr;
    QComboBox* modelList_ = nullptr;
    QComboBox* bandList_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace zt::gui
