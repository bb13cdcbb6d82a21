#pragma once

#include <QWidget>
#include <array>

#include "core/edit/option_rules.h"
#include "gui/child_window.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace zt::gui {

struct AppContext;
class GuardedLineEdit;

// The optional-features window: edits the document's option settings. Every
// change is written at once through saveOption; there is no OK or Cancel.
// Lists are `Combo1_<id>` (id 0..40), check boxes `Check1_<n>` (id 100 + n),
// the power-on text boxes `Text1_<i>` (0..15; 0..7 are kept out of sight, as
// are the lists and boxes for the fields the window does not show).
class OptionalFeaturesWindow : public QWidget, public ChildWindow {
    Q_OBJECT
  public:
    explicit OptionalFeaturesWindow(AppContext& app, QWidget* parent = nullptr);

    // Writes the value of control `id` into the option settings (lists 0..40,
    // check boxes 100..112, 140 the power-on text); other ids change nothing.
    void saveOption(OptionControl id);
    // Enables or disables the public group and every control inside it.
    void enablePublicSettings(bool flag);
    // True when index lies outside the list's entries.
    static bool isOutsideList(const QComboBox& list, int index);

    QComboBox* list(OptionControl id) const;
    QCheckBox* check(OptionControl id) const;
    GuardedLineEdit* powerOnBox(int i) const;
    QGroupBox* publicGroup() const { return publicFrame_; }

    void applyLanguageTexts();
    // Every change is already in the document.
    void commitPendingEdits() override {}
    void reload() override { loadControls(); }
    void retranslate() override { applyLanguageTexts(); }

    // Rebuilds the RB tone list from the defined tone-tip sequences and
    // reselects the stored RB tone (an undefined one becomes 0).
    void showRbToneChoices();
    // Refills the BOT, EOT and call lists from the non-empty DTMF memory
    // codes, keeping each list's text when it is still offered.
    void refreshDtmfCodeLists();

  private:
    void buildControls();
    void fillLists();
    void loadControls();
    void storeOption(OptionControl id);
    void loadList(OptionControl id);
    void listChanged(OptionControl id);
    void decodeChanged();
    void powerOnTyped(int box);
    OptionSettings& options();

    AppContext& app_;
    std::array<QComboBox*, opt::ListCount> lists_{};
    std::array<QLabel*, opt::ListCount> listLabels_{};
    std::array<QCheckBox*, opt::CheckCount> checks_{};
    std::array<GuardedLineEdit*, opt::PowerOnBoxes> powerOn_{};
    QLabel* powerOnLabel_ = nullptr;
    QComboBox* rbMirror_ = nullptr;  // 15030 and "1".."8": the RB tone by its number
    QGroupBox* publicFrame_ = nullptr;
    QWidget* hiddenArea_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace zt::gui
