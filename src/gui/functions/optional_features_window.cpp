#include "gui/functions/optional_features_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

#include "core/edit/dtmf_rules.h"
#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/document_events.h"
#include "gui/functions/dtmf_code_list.h"
#include "gui/widgets/common_buttons.h"
#include "gui/widgets/guarded_line_edit.h"
#include "gui/widgets/twips.h"

namespace zt::gui {
namespace {

constexpr int kLabelGapPx = twipsToPixels(100);

// Left column, public group and hidden lists, in screen order.
constexpr std::array kLeftLists{
    opt::TimeOut,    opt::DisplayMode, opt::Backlight,          opt::ScanMode,
    opt::ScanResume, opt::KeyBeep,     opt::FrequencyChangeable};
constexpr std::array kPublicLists{opt::Decode, opt::Encode, opt::BusyLock,    opt::Bot, opt::Eot,
                                  opt::Call,   opt::RbTone, opt::SquelchMode, opt::Tsq};
constexpr std::array kHiddenLists{opt::SquelchLevel,    opt::VoicePrompt, opt::VoiceVolume,
                                  opt::TailElimination, opt::BatterySave, opt::TotPreAlert,
                                  opt::TotRekey,        opt::TotReset,    opt::VoxLevel,
                                  opt::VoxDelay,        opt::Rep};

// A control's place in its window array.
std::size_t index(OptionControl id)
{
    return static_cast<std::size_t>(controlNumber(id));
}

int listCaption(OptionControl id)
{
    switch (id) {
        case opt::TimeOut:
            return text::option::LabelTransmitTimeOutTimer;
        case opt::DisplayMode:
            return text::option::LabelDisplayMode;
        case opt::Backlight:
            return text::option::LabelBacklightColour;
        case opt::ScanMode:
            return text::option::LabelScanMode;
        case opt::ScanResume:
            return text::option::LabelScanResumeTime;
        case opt::KeyBeep:
            return text::option::LabelKeyBeep;
        case opt::FrequencyChangeable:
            return text::option::LabelFrequenciesOfGroups06MayBeChanged;
        case opt::Decode:
            return text::channeledit::LabelDecodeTone;
        case opt::Encode:
            return text::channeledit::LabelEncodeTone;
        case opt::BusyLock:
            return text::channeledit::LabelBusyChannelLock;
        case opt::Bot:
            return text::channeledit::LabelDTMFCodeSentAtStartOfTransmission;
        case opt::Eot:
            return text::channeledit::LabelDTMFCodeSentAtEndOfTransmission;
        case opt::Call:
            return text::channeledit::LabelDTMFCallCode;
        case opt::RbTone:
            return text::channeledit::LabelRBTone;
        case opt::SquelchMode:
            return text::channeledit::LabelSquelchMode;
        case opt::Tsq:
            return text::channeledit::LabelToneSquelch;
        case opt::Rep:
            return text::option::LabelRepeaterShift;
        case opt::VoxDelay:
            return text::option::LabelVOXDelay;
        default:
            return text::option::LabelSquelchLevel + controlNumber(id);  // hidden lists 0..3, 5..9
    }
}

int checkCaption(OptionControl id)
{
    const int n = controlNumber(id);
    if (n >= controlNumber(opt::Vox) && n <= controlNumber(opt::NoSignalTail))
        return text::option::CheckBoxVOX + (n - controlNumber(opt::Vox));
    if (id == opt::PublicData) return text::option::CheckBoxPublicSettingsInForce;
    return text::channeledit::CheckBoxRXExpander + (n - controlNumber(opt::RxExpand));
}

// A power-on text box: one letter or digit; an accepted character moves on.
class PowerOnBox final : public GuardedLineEdit {
  public:
    PowerOnBox(QWidget* parent, std::function<void()> typed)
        : GuardedLineEdit(parent), typed_(std::move(typed))
    {
        setMaxLength(1);
    }

  protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const QString text = event->text();
        const bool printable =
            text.size() == 1 && text[0].isPrint() && !(event->modifiers() & Qt::ControlModifier);
        if (printable) {
            const QChar c = text[0];
            if (c.unicode() > 127 || !powerOnCharAccepted(static_cast<char>(c.unicode()))) {
                event->accept();
                return;
            }
            GuardedLineEdit::keyPressEvent(event);
            if (typed_) typed_();
            return;
        }
        GuardedLineEdit::keyPressEvent(event);
    }
    void focusInEvent(QFocusEvent* event) override
    {
        GuardedLineEdit::focusInEvent(event);
        QTimer::singleShot(0, this, [this] { selectAll(); });
    }

  private:
    std::function<void()> typed_;
};

}  // namespace

OptionalFeaturesWindow::OptionalFeaturesWindow(AppContext& app, QWidget* parent)
    : QWidget(parent), app_(app)
{
    setObjectName("FrmOptFeatures");
    followDocument(*this, *this, app_.events);
    connect(&app_.events, &DocumentEvents::rbTonesChanged, this,
            &OptionalFeaturesWindow::showRbToneChoices);
    connect(&app_.events, &DocumentEvents::dtmfCodesChanged, this,
            &OptionalFeaturesWindow::refreshDtmfCodeLists);
    buildControls();
    // Opening: fill the number lists, apply the texts, load from the record.
    fillLists();
    applyLanguageTexts();
    loadControls();
    for (OptionControl id : optionListIds())
        connect(lists_[index(id)], &QComboBox::currentIndexChanged, this,
                [this, id] { listChanged(id); });
    for (OptionControl id : optionCheckIds())
        connect(check(id), &QCheckBox::toggled, this, [this, id] {
            saveOption(id);
            if (id == opt::PublicData) enablePublicSettings(check(id)->isChecked());
        });
    for (int i = 0; i < opt::PowerOnBoxes; ++i)
        connect(powerOn_[static_cast<std::size_t>(i)], &QLineEdit::textChanged, this,
                [this] { saveOption(opt::PowerOnText); });
}

void OptionalFeaturesWindow::buildControls()
{
    auto makeList = [this](OptionControl id, QWidget* owner) {
        auto* label = new QLabel(owner);
        label->setObjectName(QString("Label1_%1").arg(controlNumber(id)));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* list = new QComboBox(owner);
        list->setObjectName(QString("Combo1_%1").arg(controlNumber(id)));
        list->setMinimumContentsLength(8);
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMaxVisibleItems(20);
        enterMovesOn(list);
        label->setBuddy(list);
        lists_[index(id)] = list;
        listLabels_[index(id)] = label;
    };
    auto makeCheck = [this](OptionControl id, QWidget* owner) {
        auto* box = new QCheckBox(owner);
        box->setObjectName(QString("Check1_%1").arg(controlNumber(id)));
        enterMovesOn(box);
        checks_[index(id)] = box;
    };
    auto grid = [](QWidget* owner) {
        auto* g = new QGridLayout(owner);
        g->setHorizontalSpacing(kLabelGapPx);
        g->setColumnStretch(1, 1);
        return g;
    };

    // Controls that exist for the record but lie outside the visible area.
    hiddenArea_ = new QWidget(this);
    hiddenArea_->setObjectName("HiddenArea");
    auto* hiddenGrid = grid(hiddenArea_);
    for (OptionControl id : kHiddenLists) {
        makeList(id, hiddenArea_);
        const int row = hiddenGrid->rowCount();
        hiddenGrid->addWidget(listLabels_[index(id)], row, 0);
        hiddenGrid->addWidget(list(id), row, 1);
    }
    for (OptionControl id : {opt::Vox, opt::VoxTone, opt::ChannelLock, opt::GroupSelect,
                             opt::CableClone, opt::NoSignalTail}) {
        makeCheck(id, hiddenArea_);
        hiddenGrid->addWidget(check(id), hiddenGrid->rowCount(), 1);
    }
    rbMirror_ = new QComboBox(hiddenArea_);
    rbMirror_->setObjectName("ComboRBMirror");
    hiddenGrid->addWidget(rbMirror_, hiddenGrid->rowCount(), 1);
    auto* hiddenBoxes = new QHBoxLayout;
    hiddenGrid->addLayout(hiddenBoxes, hiddenGrid->rowCount(), 1);
    hiddenArea_->hide();

    // Left column: power-on text (the last 8 boxes), then the lists.
    auto* left = new QWidget(this);
    auto* leftGrid = grid(left);
    powerOnLabel_ = new QLabel(left);
    powerOnLabel_->setObjectName("LabelPowerOn");
    powerOnLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* boxes = new QHBoxLayout;
    boxes->setSpacing(2);
    for (int i = 0; i < opt::PowerOnBoxes; ++i) {
        const bool hidden = i < opt::HiddenPowerOnBoxes;
        auto* box = new PowerOnBox(hidden ? hiddenArea_ : left, [this, i] { powerOnTyped(i); });
        box->setObjectName(QString("Text1_%1").arg(i));
        box->setAlignment(Qt::AlignCenter);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance('W') * 2 + 8);
        powerOn_[static_cast<std::size_t>(i)] = box;
        (hidden ? hiddenBoxes : boxes)->addWidget(box);
    }
    boxes->addStretch(1);
    leftGrid->addWidget(powerOnLabel_, 0, 0);
    leftGrid->addLayout(boxes, 0, 1);
    for (OptionControl id : kLeftLists) {
        makeList(id, left);
        const int row = leftGrid->rowCount();
        leftGrid->addWidget(listLabels_[index(id)], row, 0);
        leftGrid->addWidget(list(id), row, 1);
    }
    leftGrid->setRowStretch(leftGrid->rowCount(), 1);

    // Right side: the public-data box and the public group under it.
    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    makeCheck(opt::PublicData, right);
    rightLayout->addWidget(check(opt::PublicData));
    publicFrame_ = new QGroupBox(right);
    publicFrame_->setObjectName("FramePublic");
    auto* publicGrid = grid(publicFrame_);
    for (OptionControl id : kPublicLists) {
        makeList(id, publicFrame_);
        const int row = publicGrid->rowCount();
        publicGrid->addWidget(listLabels_[index(id)], row, 0);
        publicGrid->addWidget(list(id), row, 1);
    }
    auto* flags = new QGridLayout;
    for (OptionControl id :
         {opt::RxExpand, opt::TxCompress, opt::NbAnl, opt::Attenuator, opt::HiCut}) {
        makeCheck(id, publicFrame_);
        const int k = controlNumber(id) - controlNumber(opt::RxExpand);
        flags->addWidget(check(id), k / 2, k % 2);
    }
    publicGrid->addLayout(flags, publicGrid->rowCount(), 0, 1, 2);
    rightLayout->addWidget(publicFrame_);
    rightLayout->addStretch(1);

    close_ = newCloseButton(*this);

    auto* columns = new QHBoxLayout;
    columns->addWidget(left, 1);
    columns->addSpacing(12);
    columns->addWidget(right, 1);
    auto* buttons = buttonRow({close_});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    // Tab order: the visible boxes, then the lists as they stand.
    setTabOrder(powerOn_[opt::PowerOnBoxes - 1], list(opt::TimeOut));
}

QComboBox* OptionalFeaturesWindow::list(OptionControl id) const
{
    return !isCheckControl(id) && controlNumber(id) < opt::ListCount ? lists_[index(id)] : nullptr;
}

QCheckBox* OptionalFeaturesWindow::check(OptionControl id) const
{
    return isCheckControl(id) ? checks_[index(id)] : nullptr;
}

GuardedLineEdit* OptionalFeaturesWindow::powerOnBox(int i) const
{
    return i >= 0 && i < opt::PowerOnBoxes ? powerOn_[static_cast<std::size_t>(i)] : nullptr;
}

OptionSettings& OptionalFeaturesWindow::options()
{
    return app_.documents.working().Data.Options;
}

bool OptionalFeaturesWindow::isOutsideList(const QComboBox& list, int index)
{
    return index < 0 || index > list.count() - 1;
}

void OptionalFeaturesWindow::fillLists()
{
    for (OptionControl id : optionListIds()) {
        QComboBox* l = list(id);
        const QSignalBlocker block(l);
        l->clear();
        for (const auto& e : optionListEntries(id)) l->addItem(QString::fromStdString(e.text));
        l->setCurrentIndex(-1);
    }
    const QSignalBlocker block(rbMirror_);
    rbMirror_->clear();
    rbMirror_->addItem(QString());
    for (int n = 1; n <= kToneTipCount; ++n) rbMirror_->addItem(QString::number(n));
}

void OptionalFeaturesWindow::applyLanguageTexts()
{
    setWindowTitle(app_.text(text::option::OptionalFeaturesWindowCaption));
    powerOnLabel_->setText(app_.text(text::option::LabelPowerOnText));
    for (OptionControl id : optionListIds()) {
        listLabels_[index(id)]->setText(app_.text(listCaption(id)));
        QComboBox* l = list(id);
        const QSignalBlocker block(l);
        const auto entries = optionListEntries(id);
        for (std::size_t i = 0; i < entries.size() && static_cast<int>(i) < l->count(); ++i)
            if (entries[i].textId != 0)
                l->setItemText(static_cast<int>(i), app_.text(entries[i].textId));
    }
    // Entries built from the document: the none entries and the third busy-lock entry.
    for (OptionControl id : {opt::Bot, opt::Eot, opt::Call})
        if (list(id)->count() > 0)
            list(id)->setItemText(0, app_.text(text::channelinfo::ListEntryNoToneNoneOff));
    if (list(opt::RbTone)->count() > 0)
        list(opt::RbTone)->setItemText(0, app_.text(text::channeledit::ListEntryOffNone));
    if (list(opt::BusyLock)->count() > 2)
        list(opt::BusyLock)
            ->setItemText(2, app_.text(text::channeledit::BusyLockSquelchModeEntry2CTCSSDCSTone));
    rbMirror_->setItemText(0, app_.text(text::channeledit::ListEntryOffNone));
    for (OptionControl id : optionCheckIds()) check(id)->setText(app_.text(checkCaption(id)));
    captionCommonButtons(*this, app_.texts.lookup());
}

void OptionalFeaturesWindow::loadList(OptionControl id)
{
    QComboBox* l = list(id);
    const auto index = optionListIndexOf(options(), id);
    {
        const QSignalBlocker block(l);
        if (l->count() == 0 || !index) {
            l->setCurrentIndex(-1);
        } else {
            const int at = isOutsideList(*l, *index) ? 0 : *index;
            // Selected by its text: with equal texts the first one wins.
            l->setCurrentIndex(l->findText(l->itemText(at), Qt::MatchExactly));
        }
    }
    listChanged(id);
}

void OptionalFeaturesWindow::loadControls()
{
    const OptionSettings& o = options();
    for (OptionControl id : optionListIds()) {
        if (id == opt::RbTone) {
            showRbToneChoices();
            continue;
        }
        if (id == opt::Bot || id == opt::Eot || id == opt::Call) {
            const std::int16_t stored = id == opt::Bot   ? o.Common.BotCode
                                        : id == opt::Eot ? o.Common.EotCode
                                                         : o.Common.CallCode;
            QComboBox* l = list(id);
            {
                const QSignalBlocker block(l);
                l->clear();
                for (const auto& e : dtmfCodeListEntries(
                         app_.documents.working().Data.Dtmf,
                         app_.text(text::channelinfo::ListEntryNoToneNoneOff).toStdString()))
                    l->addItem(QString::fromStdString(e));
                const int at = l->findText(QString::number(stored), Qt::MatchExactly);
                l->setCurrentIndex(stored != 0 && at > 0 ? at : 0);
            }
            listChanged(id);
            continue;
        }
        loadList(id);
    }
    for (OptionControl id : optionCheckIds()) {
        const QSignalBlocker block(check(id));
        check(id)->setChecked(optionCheckValue(o, id) == 1);
    }
    const auto boxes = powerOnBoxes(o.PowerOnText);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const QSignalBlocker block(powerOn_[i]);
        powerOn_[i]->setText(QString::fromLatin1(boxes[i].c_str()));
    }
    enablePublicSettings(check(opt::PublicData)->isChecked());
}

void OptionalFeaturesWindow::saveOption(OptionControl id)
{
    storeOption(id);
    emit app_.events.optionsChanged();
}

void OptionalFeaturesWindow::storeOption(OptionControl id)
{
    OptionSettings& o = options();
    if (id == opt::PowerOnText) {
        std::array<std::string, opt::PowerOnBoxes> boxes;
        for (std::size_t i = 0; i < boxes.size(); ++i)
            boxes[i] = powerOn_[i]->text().left(1).toLatin1().toStdString();
        OptionSettings copy = o;
        copy.PowerOnText = powerOnTextOf(boxes);
        o = copy;
        return;
    }
    if (QCheckBox* box = check(id)) {
        storeOptionCheck(o, id, box->isChecked());
        return;
    }
    QComboBox* l = list(id);
    if (!l) return;
    if (id == opt::RbTone) {
        // The mirror turns the number shown into the stored tone number.
        if (l->currentIndex() < 0) return;
        const int at = rbMirror_->findText(l->currentText(), Qt::MatchExactly);
        const QSignalBlocker block(rbMirror_);
        rbMirror_->setCurrentIndex(at < 0 ? 0 : at);
        OptionSettings copy = o;
        copy.Common.RBTone = static_cast<std::int16_t>(rbMirror_->currentIndex());
        o = copy;
        return;
    }
    const int index = l->currentIndex();
    storeOptionList(o, id, index, index >= 0 ? l->currentText().toStdString() : std::string());
}

void OptionalFeaturesWindow::listChanged(OptionControl id)
{
    saveOption(id);
    if (id == opt::Decode) decodeChanged();
}

void OptionalFeaturesWindow::decodeChanged()
{
    QComboBox* decode = list(opt::Decode);
    QComboBox* squelch = list(opt::SquelchMode);
    QComboBox* busy = list(opt::BusyLock);
    const bool noTone = decode->count() > 0 && decode->currentText() == decode->itemText(0);
    if (noTone) {
        squelch->setEnabled(false);
        if (squelch->currentIndex() != 0) {
            {
                const QSignalBlocker block(squelch);
                squelch->setCurrentIndex(0);
            }
            saveOption(opt::SquelchMode);
        }
        if (busy->count() > 2) {
            // A removed selection leaves the list without one; the field keeps its value.
            const QSignalBlocker block(busy);
            const bool wasSelected = busy->currentIndex() == 2;
            busy->removeItem(2);
            if (wasSelected) busy->setCurrentIndex(-1);
        }
    } else {
        squelch->setEnabled(decode->isEnabled());
        const QSignalBlocker block(busy);
        if (busy->count() == 2)
            busy->addItem(app_.text(text::channeledit::BusyLockSquelchModeEntry2CTCSSDCSTone));
        else if (busy->count() > 2)
            busy->setItemText(2,
                              app_.text(text::channeledit::BusyLockSquelchModeEntry2CTCSSDCSTone));
    }
}

void OptionalFeaturesWindow::enablePublicSettings(bool flag)
{
    publicFrame_->setEnabled(flag);
    for (QWidget* w : publicFrame_->findChildren<QWidget*>()) w->setEnabled(flag);
    // Squelch mode also follows the Decode list: without a receive tone it
    // stays disabled, as the Decode rule leaves it.
    QComboBox* decode = list(opt::Decode);
    if (flag && decode->count() > 0 && decode->currentText() == decode->itemText(0))
        list(opt::SquelchMode)->setEnabled(false);
}

void OptionalFeaturesWindow::showRbToneChoices()
{
    const RadioData& data = app_.documents.working().Data;
    QComboBox* rb = list(opt::RbTone);
    {
        const QSignalBlocker mirror(rbMirror_);
        const int stored = data.Options.Common.RBTone;
        rbMirror_->setCurrentIndex(isOutsideList(*rbMirror_, stored) ? 0 : stored);
        const QSignalBlocker block(rb);
        rb->clear();
        rb->addItem(app_.text(text::channeledit::ListEntryOffNone));
        for (int n : definedToneTips(data)) rb->addItem(QString::number(n));
        const int at = rb->findText(rbMirror_->currentText(), Qt::MatchExactly);
        rb->setCurrentIndex(at < 0 ? 0 : at);
    }
    saveOption(opt::RbTone);
}

void OptionalFeaturesWindow::refreshDtmfCodeLists()
{
    const DtmfSettings& dtmf = app_.documents.working().Data.Dtmf;
    for (OptionControl id : {opt::Bot, opt::Eot, opt::Call})
        refillDtmfCodeList(*list(id), dtmf, app_.text(text::channelinfo::ListEntryNoToneNoneOff));
}

void OptionalFeaturesWindow::powerOnTyped(int box)
{
    if (box + 1 < opt::PowerOnBoxes)
        powerOn_[static_cast<std::size_t>(box + 1)]->setFocus(Qt::TabFocusReason);
    else
        list(opt::TimeOut)->setFocus(Qt::TabFocusReason);
}

}  // namespace zt::gui
