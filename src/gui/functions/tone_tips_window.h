#pragma once

#include <QWidget>
#include <array>

#include "core/edit/tone_playback.h"
#include "core/radio/radio_data.h"
#include "gui/child_window.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTabBar;
class QGroupBox;

namespace zt {
class ToneOutput;
}

namespace zt::gui {

struct AppContext;

// The tone-tip chart: the bars of one sequence, laid out in twips (15 per
// pixel) as the chart geometry describes, red for odd and blue for even notes.
class ToneTipChartView : public QWidget {
    Q_OBJECT
  public:
    explicit ToneTipChartView(QWidget* parent = nullptr);
    void setSequence(const ToneTipSequence& seq);
    QSize sizeHint() const override { return {480, 150}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    ToneTipSequence seq_{};
};

// The tone-tips window: eight sequences on eight tabs, each with its repeat
// count, interval and 14 notes (frequency and duration lists), a chart and
// play and stop. Every change goes into the document at once; a change of the
// repeat count or a duration runs the RB tone check. Playback is driven by the
// event loop: each note is handed to the tone output and the next one follows
// when it has ended, so a stop is seen between notes.
class ToneTipsWindow : public QWidget, public ChildWindow {
    Q_OBJECT
  public:
    explicit ToneTipsWindow(AppContext& app, QWidget* parent = nullptr);
    ~ToneTipsWindow() override;

    int currentSequence() const { return current_; }  // 1..8
    QTabBar* tabStrip() const { return tabs_; }
    QComboBox* repeatList() const { return repeat_; }
    QComboBox* intervalList() const { return interval_; }
    QComboBox* frequencyList(int note) const;  // note 1..14
    QComboBox* durationList(int note) const;
    ToneTipChartView* chart() const { return chart_; }
    QPushButton* playButton() const { return play_; }
    QPushButton* stopButton() const { return stop_; }
    bool playing() const { return !playback_.stopped(); }

    // Replaces the speaker (tests); the window does not take ownership.
    void setToneOutput(ToneOutput* output);

    void applyLanguageTexts();
    void commitPendingEdits() override {}
    void reload() override { loadSequence(); }
    void retranslate() override { applyLanguageTexts(); }

  public slots:
    void playSequence();
    void stopPlayback();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void fillLists();
    void loadSequence();
    void tabChanged(int index);
    void repeatChanged();
    void intervalChanged();
    void frequencyChanged(int note);
    void durationChanged(int note);
    void redraw();
    void advance();
    void stepEnded();
    void connectOutput();
    ToneTipSequence& sequence();

    AppContext& app_;
    int current_ = 1;
    QTabBar* tabs_ = nullptr;
    QGroupBox* frame_ = nullptr;
    QComboBox* repeat_ = nullptr;
    QComboBox* interval_ = nullptr;
    std::array<QComboBox*, kToneTipNotes> frequency_{};
    std::array<QComboBox*, kToneTipNotes> duration_{};
    std::array<QLabel*, kToneTipNotes> noteLabels_{};
    std::array<QLabel*, 4> captions_{};  // repeat, interval, two column heads
    std::array<QLabel*, 2> secondHeads_{};
    ToneTipChartView* chart_ = nullptr;
    QPushButton* play_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* close_ = nullptr;
    ToneOutput* output_ = nullptr;
    ToneOutput* ownOutput_ = nullptr;
    TonePlayback playback_;
    bool stepRunning_ = false;
};

}  // namespace zt::gui
