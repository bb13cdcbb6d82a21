#pragma once

#include <QWidget>
#include <array>

#include "core/edit/dtmf_rules.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace zt::gui {

struct AppContext;
class GuardedLineEdit;

// The DTMF window: digit timing, D key, side tone, PTT-ID codes (tab 1),
// call alert, group code, auto reset, ID, stun and kill codes (tab 2, which
// is switched off but loaded and kept), and the memory codes M1..M16 (tab 3).
// Every change goes into the document at once. Emptying a memory code resets
// every reference to it and refreshes the code lists of the open channel
// editor and optional-features window.
class DtmfWindow : public QWidget {
    Q_OBJECT
  public:
    explicit DtmfWindow(AppContext& app, QWidget* parent = nullptr);

    enum class Timing { Rate, FirstDigitTime, FirstDigitDelay, StarHashTime };
    enum class Index { DKey, PttIdPause, CallAlert, GroupCode, AutoReset };
    enum class Code { PttIdBot, PttIdEot, Stun, Kill };

    QComboBox* timingList(Timing which) const;
    QComboBox* indexList(Index which) const;
    GuardedLineEdit* codeBox(Code which) const;
    GuardedLineEdit* memoryBox(int n) const;  // n = 1..16
    GuardedLineEdit* idBox() const { return idBox_; }
    QCheckBox* sideTone() const { return sideTone_; }
    QTabWidget* tabs() const { return tabs_; }

    // Validates an edited ID box (as leaving it does).
    void commitPendingEdits();
    void applyLanguageTexts();

  private:
    void buildControls();
    void fillLists();
    void loadControls();
    void timingChanged(Timing which);
    void indexChanged(Index which);
    void codeChanged(Code which);
    void memoryChanged(int n);
    void validateIdBox();
    DtmfCode& codeField(Code which);
    std::int16_t& indexField(Index which);
    TimingList timingSpec(Timing which) const;

    AppContext& app_;
    QTabWidget* tabs_ = nullptr;
    std::array<QComboBox*, 4> timing_{};
    std::array<QComboBox*, 5> index_{};
    std::array<GuardedLineEdit*, 4> codes_{};
    std::array<GuardedLineEdit*, kDtmfMemoryCodes> memory_{};
    GuardedLineEdit* idBox_ = nullptr;
    QCheckBox* sideTone_ = nullptr;
    std::array<QLabel*, 4> timingLabels_{};
    std::array<QLabel*, 5> indexLabels_{};
    std::array<QLabel*, 4> codeLabels_{};
    std::array<QLabel*, kDtmfMemoryCodes> memoryLabels_{};
    QLabel* idLabel_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace zt::gui
