#pragma once

#include <QWidget>
#include <array>

#include "core/edit/reset_mode_rules.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace zt::gui {

struct AppContext;

// The reset-mode window: for the E, normal and extended modes a group list
// and a channel list (the group's channels). Every choice is stored in the
// document's option settings at once. Child window.
class ResetModeWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ResetModeWindow(AppContext& app, QWidget* parent = nullptr);

    // Combo1/Combo2: E-mode group and channel; Combo3/Combo4: normal mode;
    // Combo5/Combo6: extended mode.
    QComboBox* groupList(ResetMode mode) const;
    QComboBox* channelList(ResetMode mode) const;

    void applyLanguageTexts();
    // Every change is already in the document.
    void commitPendingEdits() {}

  private:
    struct ModeControls {
        QComboBox* group = nullptr;
        QComboBox* channel = nullptr;
    };
    ModeControls& controls(ResetMode mode);
    const ModeControls& controls(ResetMode mode) const;
    void groupChanged(ResetMode mode);
    void channelChanged(ResetMode mode);
    void showChannel(ResetMode mode);

    AppContext& app_;
    std::array<ModeControls, 3> modes_{};
    std::array<QLabel*, 6> labels_{};
    QPushButton* close_ = nullptr;
    bool filling_ = false;  // keeps the change events from storing while lists are filled
};

}  // namespace zt::gui
