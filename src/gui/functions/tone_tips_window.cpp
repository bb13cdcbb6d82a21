#include "gui/functions/tone_tips_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

#include "core/edit/tone_tip_chart.h"
#include "core/radio/tone_tips.h"
#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/document_events.h"
#include "gui/functions/dtmf_code_list.h"
#include "gui/widgets/common_buttons.h"
#include "gui/widgets/guarded_line_edit.h"
#include "gui/widgets/twips.h"
#include "platform/tone_player.h"

namespace zt::gui {
namespace {

constexpr int kLabelGapPx = twipsToPixels(100);
constexpr int kRowsPerColumn = 7;
constexpr int kFirstFrequencyEntry = 40;  // entry 1 is 400 Hz

QComboBox* newList(QWidget* owner, const QString& name, int width)
{
    auto* list = new QComboBox(owner);
    list->setObjectName(name);
    list->setMinimumContentsLength(width);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMaxVisibleItems(20);
    enterMovesOn(list);
    return list;
}

QLabel* rightLabel(QWidget* owner, const QString& name)
{
    auto* label = new QLabel(owner);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// Selects the entry at index without reporting it (entry 0 when outside).
void selectQuietly(QComboBox* list, int index)
{
    const QSignalBlocker block(list);
    list->setCurrentIndex(index < 0 || index >= list->count() ? 0 : index);
}

}  // namespace

ToneTipChartView::ToneTipChartView(QWidget* parent) : QWidget(parent)
{
    setObjectName("Picture1");
    setMinimumHeight(110);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ToneTipChartView::setSequence(const ToneTipSequence& seq)
{
    seq_ = seq;
    update();
}

void ToneTipChartView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(QColor(160, 160, 160));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    // The geometry is in twips; the painter maps them to pixels.
    p.scale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);
    const double w = static_cast<double>(width()) * kTwipsPerPixel;
    const double h = static_cast<double>(height()) * kTwipsPerPixel;
    for (const ChartBar& bar : toneTipChart(seq_, w, h)) {
        const QRectF r(static_cast<double>(bar.left), static_cast<double>(bar.bottom - bar.height),
                       static_cast<double>(bar.width), static_cast<double>(bar.height));
        p.fillRect(r, bar.red ? Qt::red : Qt::blue);
    }
}

ToneTipsWindow::ToneTipsWindow(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName("FrmToneTips");
    followDocument(*this, *this, app_.events);
    buildControls();
    ownOutput_ = new TonePlayer(this);
    output_ = ownOutput_;
    connectOutput();
    // Opening: the selected tab is the current sequence; texts, lists, load.
    current_ = tabs_->currentIndex() + 1;
    applyLanguageTexts();
    fillLists();
    loadSequence();
    connect(tabs_, &QTabBar::currentChanged, this, &ToneTipsWindow::tabChanged);
    connect(repeat_, &QComboBox::currentIndexChanged, this, &ToneTipsWindow::repeatChanged);
    connect(interval_, &QComboBox::currentIndexChanged, this, &ToneTipsWindow::intervalChanged);
    for (int k = 1; k <= kToneTipNotes; ++k) {
        connect(frequencyList(k), &QComboBox::currentIndexChanged, this,
                [this, k] { frequencyChanged(k); });
        connect(durationList(k), &QComboBox::currentIndexChanged, this,
                [this, k] { durationChanged(k); });
    }
}

ToneTipsWindow::~ToneTipsWindow()
{
    playback_.stop();
    if (output_) output_->cancel();
}

void ToneTipsWindow::buildControls()
{
    tabs_ = new QTabBar(this);
    tabs_->setObjectName("TabStrip1");
    tabs_->setExpanding(false);
    for (int n = 1; n <= kToneTipCount; ++n) tabs_->addTab(QString());

    frame_ = new QGroupBox(this);
    frame_->setObjectName("Frame1");
    auto* top = new QGridLayout;
    top->setHorizontalSpacing(kLabelGapPx);
    captions_[0] = rightLabel(frame_, "LabelRepeat");
    captions_[1] = rightLabel(frame_, "LabelInterval");
    repeat_ = newList(frame_, "ComboRepeat", 5);
    interval_ = newList(frame_, "ComboInterval", 5);
    top->addWidget(captions_[0], 0, 0);
    top->addWidget(repeat_, 0, 1);
    top->addWidget(captions_[1], 0, 3);
    top->addWidget(interval_, 0, 4);
    top->setColumnMinimumWidth(2, 20);
    top->setColumnStretch(5, 1);

    auto* notes = new QGridLayout;
    notes->setHorizontalSpacing(kLabelGapPx);
    captions_[2] = new QLabel(frame_);
    captions_[2]->setObjectName("LabelFrequencyHead");
    captions_[3] = new QLabel(frame_);
    captions_[3]->setObjectName("LabelDurationHead");
    secondHeads_[0] = new QLabel(frame_);
    secondHeads_[1] = new QLabel(frame_);
    notes->addWidget(captions_[2], 0, 1);
    notes->addWidget(captions_[3], 0, 2);
    notes->addWidget(secondHeads_[0], 0, 5);
    notes->addWidget(secondHeads_[1], 0, 6);
    notes->setColumnMinimumWidth(3, 20);
    for (int k = 1; k <= kToneTipNotes; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        noteLabels_[i] = rightLabel(frame_, QString("LabelNote%1").arg(k));
        frequency_[i] = newList(frame_, QString("ComboFre%1").arg(k), 5);
        duration_[i] = newList(frame_, QString("ComboTime%1").arg(k), 5);
        noteLabels_[i]->setBuddy(frequency_[i]);
        const int row = 1 + (k - 1) % kRowsPerColumn;
        const int col = (k - 1) / kRowsPerColumn * 4;
        notes->addWidget(noteLabels_[i], row, col);
        notes->addWidget(frequency_[i], row, col + 1);
        notes->addWidget(duration_[i], row, col + 2);
    }
    auto* frameLayout = new QVBoxLayout(frame_);
    frameLayout->addLayout(top);
    frameLayout->addLayout(notes);

    chart_ = new ToneTipChartView(this);
    play_ = new QPushButton(this);
    play_->setObjectName("CommandPlay");
    stop_ = new QPushButton(this);
    stop_->setObjectName("CommandStop");
    close_ = new QPushButton(this);
    close_->setObjectName("CommandClose");
    connect(play_, &QPushButton::clicked, this, &ToneTipsWindow::playSequence);
    connect(stop_, &QPushButton::clicked, this, &ToneTipsWindow::stopPlayback);
    connect(close_, &QPushButton::clicked, this, [this] {
        stopPlayback();
        closeChildWindow(*this);
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(play_);
    buttons->addWidget(stop_);
    buttons->addStretch(1);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(frame_);
    layout->addWidget(chart_, 1);
    layout->addLayout(buttons);
}

QComboBox* ToneTipsWindow::frequencyList(int note) const
{
    return note >= 1 && note <= kToneTipNotes ? frequency_[static_cast<std::size_t>(note - 1)]
                                              : nullptr;
}

QComboBox* ToneTipsWindow::durationList(int note) const
{
    return note >= 1 && note <= kToneTipNotes ? duration_[static_cast<std::size_t>(note - 1)]
                                              : nullptr;
}

ToneTipSequence& ToneTipsWindow::sequence()
{
    return app_.documents.working().Data.Tips[static_cast<std::size_t>(current_ - 1)];
}

void ToneTipsWindow::applyLanguageTexts()
{
    setWindowTitle(app_.text(text::tonetips::ToneTipsWindowCaption));
    for (int n = 1; n <= kToneTipCount; ++n)
        tabs_->setTabText(
            n - 1, app_.text(text::tonetips::TabCaptionFollowedByASpaceAndTheToneNumber) + ' ' +
                       QString::number(n));
    captions_[0]->setText(app_.text(text::tonetips::LabelRepeatCount));
    captions_[1]->setText(app_.text(text::tonetips::LabelIntervalAfterEachRepetition));
    captions_[2]->setText(app_.text(text::tonetips::ColumnHeadingNoteFrequency));
    captions_[3]->setText(app_.text(text::tonetips::ColumnHeadingNoteDuration));
    secondHeads_[0]->setText(app_.text(text::tonetips::ColumnHeadingNoteFrequency));
    secondHeads_[1]->setText(app_.text(text::tonetips::ColumnHeadingNoteDuration));
    for (int k = 1; k <= kToneTipNotes; ++k)
        noteLabels_[static_cast<std::size_t>(k - 1)]->setText(
            app_.text(text::tonetips::RowLabelOfNote1 + k - 1));
    play_->setText(app_.text(text::tonetips::ButtonPlay));
    stop_->setText(app_.text(text::tonetips::ButtonStop));
    if (repeat_->count() > 0) {
        const QSignalBlocker block(repeat_);
        repeat_->setItemText(0, app_.text(text::tonetips::RepeatCountEntry0Off));
    }
    for (QComboBox* f : frequency_) {
        if (f->count() == 0) continue;
        const QSignalBlocker block(f);
        f->setItemText(0, app_.text(text::tonetips::FrequencyEntry0Rest));
    }
    captionCommonButtons(*this, app_.texts.lookup());
}

void ToneTipsWindow::fillLists()
{
    QStringList repeat{app_.text(text::tonetips::RepeatCountEntry0Off)};
    for (int n = 1; n <= 10; ++n) repeat << QString::number(n);
    QStringList tens;
    for (int v = 0; v <= 2550; v += 10) tens << QString::number(v);
    QStringList frequencies{app_.text(text::tonetips::FrequencyEntry0Rest)};
    for (int v = 400; v <= 2550; v += 10) frequencies << QString::number(v);
    auto fill = [](QComboBox* l, const QStringList& entries) {
        const QSignalBlocker block(l);
        l->clear();
        l->addItems(entries);
    };
    fill(repeat_, repeat);
    fill(interval_, tens);
    for (QComboBox* f : frequency_) fill(f, frequencies);
    for (QComboBox* d : duration_) fill(d, tens);
}

void ToneTipsWindow::loadSequence()
{
    // Every selection runs its change handler, as a choice by the user does.
    const ToneTipSequence seq = sequence();
    selectQuietly(repeat_, seq.RepeatCount);
    repeatChanged();
    selectQuietly(interval_, seq.Interval);
    intervalChanged();
    for (int k = 1; k <= kToneTipNotes; ++k) {
        const ToneTipNote& note = seq.Notes[static_cast<std::size_t>(k - 1)];
        // Stored value x 10 names the entry; 0 is the rest entry, 1..39 show it too.
        const int f = note.Frequency;
        selectQuietly(frequencyList(k),
                      f >= kFirstFrequencyEntry && f <= 255 ? f - kFirstFrequencyEntry + 1 : 0);
        frequencyChanged(k);
        selectQuietly(durationList(k), note.Duration);
        durationChanged(k);
    }
    redraw();
}

void ToneTipsWindow::tabChanged(int index)
{
    if (index + 1 == current_ || index < 0) return;
    current_ = index + 1;
    loadSequence();
}

void ToneTipsWindow::repeatChanged()
{
    if (repeat_->currentIndex() < 0) return;
    sequence().RepeatCount = static_cast<std::int16_t>(repeat_->currentIndex());
    rbToneCheck(app_.documents.working(), [this] { emit app_.events.rbTonesChanged(); });
}

void ToneTipsWindow::intervalChanged()
{
    if (interval_->currentIndex() < 0) return;
    sequence().Interval = static_cast<std::int16_t>(interval_->currentIndex());
}

void ToneTipsWindow::frequencyChanged(int note)
{
    QComboBox* list = frequencyList(note);
    if (list->currentIndex() < 0) return;
    const int index = list->currentIndex();
    sequence().Notes[static_cast<std::size_t>(note - 1)].Frequency =
        static_cast<std::int16_t>(index == 0 ? 0 : list->currentText().toInt() / 10);
    redraw();
}

void ToneTipsWindow::durationChanged(int note)
{
    QComboBox* list = durationList(note);
    if (list->currentIndex() < 0) return;
    sequence().Notes[static_cast<std::size_t>(note - 1)].Duration =
        static_cast<std::int16_t>(list->currentIndex());
    redraw();
    rbToneCheck(app_.documents.working(), [this] { emit app_.events.rbTonesChanged(); });
}

void ToneTipsWindow::redraw()
{
    chart_->setSequence(sequence());
}

void ToneTipsWindow::setToneOutput(ToneOutput* output)
{
    if (output_) {
        output_->cancel();
        disconnect(output_, nullptr, this, nullptr);
    }
    output_ = output ? output : ownOutput_;
    connectOutput();
}

void ToneTipsWindow::connectOutput()
{
    connect(output_, &ToneOutput::finished, this, &ToneTipsWindow::stepEnded);
}

void ToneTipsWindow::playSequence()
{
    if (!playback_.prepare(sequence())) return;  // all durations 0: nothing happens
    // A new start abandons a note still sounding from an earlier run.
    output_->cancel();
    stepRunning_ = false;
    play_->setEnabled(false);
    advance();
}

void ToneTipsWindow::advance()
{
    // The notes come from the sequence shown now: a tab change during
    // playback plays the newly selected sequence's following notes.
    const PlaybackStep step = playback_.next(sequence());
    switch (step.kind) {
        case PlaybackStep::Kind::Tone:
            stepRunning_ = true;
            output_->playTone(step.frequencyHz, step.durationMs);
            return;
        case PlaybackStep::Kind::Rest:
        case PlaybackStep::Kind::Interval:
            stepRunning_ = true;
            output_->waitSilently(step.durationMs);
            return;
        case PlaybackStep::Kind::Done:
            break;
    }
    stepRunning_ = false;
    stopPlayback();
}

void ToneTipsWindow::stepEnded()
{
    if (!stepRunning_) return;
    stepRunning_ = false;
    advance();
}

void ToneTipsWindow::stopPlayback()
{
    // The note or wait in progress ends first; the stop flag is seen before
    // the next one.
    playback_.stop();
    play_->setEnabled(true);
}

void ToneTipsWindow::closeEvent(QCloseEvent* event)
{
    playback_.stop();
    output_->cancel();
    stepRunning_ = false;
    play_->setEnabled(true);
    QWidget::closeEvent(event);
}

}  // namespace zt::gui
