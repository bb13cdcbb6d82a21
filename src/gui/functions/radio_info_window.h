#pragma once

#include <QWidget>
#include <map>
#include <string>

#include "gui/child_window.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zt::gui {

struct AppContext;

// The radio-information window: shows the radio-information record (what
// the last information read fetched, with the program's own version, model
// and band values). Nothing can be edited; the record is read once, when the
// window opens. Child window.
class RadioInfoWindow : public QWidget, public ChildWindow {
    Q_OBJECT
  public:
    // The band list's one entry and the model list's one entry.
    static constexpr const char* kModelEntry = "ZT-958";

    explicit RadioInfoWindow(AppContext& app, QWidget* parent = nullptr);

    void applyLanguageTexts();
    void commitPendingEdits() override {}
    void reload() override { showRecord(); }
    void retranslate() override { applyLanguageTexts(); }

  private:
    void showRecord();
    // The value box named `control` (its objectName), as the control it is.
    template <class T>
    T* field(const char* control) const
    {
        const auto it = fields_.find(control);
        return it == fields_.end() ? nullptr : qobject_cast<T*>(it->second);
    }

    AppContext& app_;
    QGroupBox* frame_ = nullptr;
    QPushButton* close_ = nullptr;
    std::map<int, QLabel*> labels_;           // by text id
    std::map<std::string, QWidget*> fields_;  // by control name
};

}  // namespace zt::gui
