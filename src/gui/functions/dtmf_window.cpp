#include "gui/functions/dtmf_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <functional>

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
constexpr int kMemoryLabelGapPx = 2;  // 20 twips

bool isEnterKey(const QKeyEvent& e)
{
    return e.key() == Qt::Key_Return || e.key() == Qt::Key_Enter;
}

bool isPrintableKey(const QKeyEvent& e)
{
    return e.text().size() == 1 && e.text()[0].isPrint() && !(e.modifiers() & Qt::ControlModifier);
}

// A DTMF code box: 0-9, *, #, A-D (a-d typed become A-D); at most 16.
class DtmfCodeBox final : public GuardedLineEdit {
  public:
    explicit DtmfCodeBox(QWidget* parent) : GuardedLineEdit(parent)
    {
        setMaxLength(kDtmfCodeChars);
    }

  protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (isPrintableKey(*event)) {
            const QChar c = event->text()[0];
            const auto key =
                c.unicode() > 127 ? std::nullopt : dtmfCodeKey(static_cast<char>(c.unicode()));
            if (!key) {
                event->accept();
                return;
            }
            if (*key != c.toLatin1()) {
                QKeyEvent upper(event->type(), event->key(), event->modifiers(),
                                QString(QChar::fromLatin1(*key)));
                GuardedLineEdit::keyPressEvent(&upper);
                event->accept();
                return;
            }
        }
        GuardedLineEdit::keyPressEvent(event);
    }
};

// The ID box: digits only, at most 10; Enter and leaving validate it.
class IdCodeBox final : public GuardedLineEdit {
  public:
    IdCodeBox(QWidget* parent, std::function<void()> validate)
        : GuardedLineEdit(parent), validate_(std::move(validate))
    {
        setMaxLength(kIdCodeChars);
    }

  protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (isEnterKey(*event) && validate_) validate_();
        if (isPrintableKey(*event) && !event->text()[0].isDigit()) {
            event->accept();
            return;
        }
        if (isPrintableKey(*event) && event->text()[0].unicode() > '9') {
            event->accept();  // other scripts' digits
            return;
        }
        GuardedLineEdit::keyPressEvent(event);
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        if (validate_) validate_();
        GuardedLineEdit::focusOutEvent(event);
    }

  private:
    std::function<void()> validate_;
};

QLabel* rightLabel(QWidget* owner, const QString& name)
{
    auto* label = new QLabel(owner);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QComboBox* newList(QWidget* owner, const QString& name)
{
    auto* list = new QComboBox(owner);
    list->setObjectName(name);
    list->setMinimumContentsLength(8);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMaxVisibleItems(20);
    enterMovesOn(list);
    return list;
}

template <class E>
std::size_t at(E e)
{
    return static_cast<std::size_t>(e);
}

}  // namespace

DtmfWindow::DtmfWindow(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName("FrmDTMF");
    followDocument(*this, *this, app_.events);
    buildControls();
    fillLists();
    applyLanguageTexts();
    loadControls();
    for (Timing t :
         {Timing::Rate, Timing::FirstDigitTime, Timing::FirstDigitDelay, Timing::StarHashTime})
        connect(timing_[at(t)], &QComboBox::currentIndexChanged, this,
                [this, t] { timingChanged(t); });
    for (Index i :
         {Index::DKey, Index::PttIdPause, Index::CallAlert, Index::GroupCode, Index::AutoReset})
        connect(index_[at(i)], &QComboBox::currentIndexChanged, this,
                [this, i] { indexChanged(i); });
    connect(sideTone_, &QCheckBox::toggled, this,
            [this](bool on) { app_.documents.working().Data.Dtmf.SideTone = on ? 1 : 0; });
    for (Code c : {Code::PttIdBot, Code::PttIdEot, Code::Stun, Code::Kill})
        connect(codes_[at(c)], &QLineEdit::textChanged, this, [this, c] { codeChanged(c); });
    for (int n = 1; n <= kDtmfMemoryCodes; ++n)
        connect(memoryBox(n), &QLineEdit::textChanged, this, [this, n] { memoryChanged(n); });
}

void DtmfWindow::buildControls()
{
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("SSTab1");
    // The page tabs take the focus; the frame around the pages is no control
    // of its own (a screen reader would land on a nameless container).
    tabs_->setFocusPolicy(Qt::NoFocus);
    auto grid = [](QWidget* owner) {
        auto* g = new QGridLayout(owner);
        g->setHorizontalSpacing(kLabelGapPx);
        g->setColumnStretch(1, 1);
        return g;
    };
    auto addRow = [](QGridLayout* g, QLabel* label, QWidget* control) {
        const int row = g->rowCount();
        g->addWidget(label, row, 0);
        g->addWidget(control, row, 1);
        label->setBuddy(control);
    };

    // Tab 1: encoding.
    auto* encoding = new QWidget(tabs_);
    encoding->setObjectName("TabEncoding");
    auto* g1 = grid(encoding);
    const std::array<const char*, 4> timingNames{"ComboRate", "ComboFirstDigitTime",
                                                 "ComboFirstDigitDelay", "ComboStarHashTime"};
    for (std::size_t i = 0; i < timing_.size(); ++i) {
        timing_[i] = newList(encoding, timingNames[i]);
        timingLabels_[i] = rightLabel(encoding, QString("Label%1").arg(timingNames[i] + 5));
        addRow(g1, timingLabels_[i], timing_[i]);
    }
    auto* tab2 = new QWidget(tabs_);
    tab2->setObjectName("TabDecoding");
    auto* g2 = grid(tab2);
    const std::array<const char*, 5> indexNames{"ComboDKey", "ComboPttIdPause", "ComboCallAlert",
                                                "ComboGroupCode", "ComboAutoReset"};
    for (std::size_t i = 0; i < index_.size(); ++i) {
        QWidget* owner = i < 2 ? encoding : tab2;
        index_[i] = newList(owner, indexNames[i]);
        indexLabels_[i] = rightLabel(owner, QString("Label%1").arg(indexNames[i] + 5));
        if (i < 2) addRow(g1, indexLabels_[i], index_[i]);
    }
    sideTone_ = new QCheckBox(encoding);
    sideTone_->setObjectName("CheckSideTone");
    enterMovesOn(sideTone_);
    g1->addWidget(sideTone_, g1->rowCount(), 1);
    const std::array<const char*, 4> codeNames{"TextPttIdBot", "TextPttIdEot", "TextStun",
                                               "TextKill"};
    for (std::size_t i = 0; i < codes_.size(); ++i) {
        QWidget* owner = i < 2 ? encoding : tab2;
        codes_[i] = new DtmfCodeBox(owner);
        codes_[i]->setObjectName(codeNames[i]);
        codeLabels_[i] = rightLabel(owner, QString("Label%1").arg(codeNames[i] + 4));
        if (i < 2) addRow(g1, codeLabels_[i], codes_[i]);
    }
    g1->setRowStretch(g1->rowCount(), 1);

    // Tab 2: decoding (switched off when the window opens).
    for (std::size_t i = 2; i < index_.size(); ++i) addRow(g2, indexLabels_[i], index_[i]);
    idBox_ = new IdCodeBox(tab2, [this] { validateIdBox(); });
    idBox_->setObjectName("TextIdCode");
    idLabel_ = rightLabel(tab2, "LabelIdCode");
    addRow(g2, idLabel_, idBox_);
    for (std::size_t i = 2; i < codes_.size(); ++i) addRow(g2, codeLabels_[i], codes_[i]);
    g2->setRowStretch(g2->rowCount(), 1);

    // Tab 3: memory codes M1..M16 in two columns of eight.
    auto* memory = new QWidget(tabs_);
    memory->setObjectName("TabMemory");
    auto* g3 = new QGridLayout(memory);
    g3->setHorizontalSpacing(kMemoryLabelGapPx);
    for (int n = 1; n <= kDtmfMemoryCodes; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        memory_[i] = new DtmfCodeBox(memory);
        memory_[i]->setObjectName(QString("TextM%1").arg(n));
        memoryLabels_[i] = rightLabel(memory, QString("LabelM%1").arg(n));
        memoryLabels_[i]->setText(QString("M%1").arg(n));
        memoryLabels_[i]->setBuddy(memory_[i]);
        const int row = (n - 1) % 8;
        const int col = (n - 1) / 8 * 3;
        g3->addWidget(memoryLabels_[i], row, col);
        g3->addWidget(memory_[i], row, col + 1);
    }
    g3->setColumnMinimumWidth(2, 16);
    g3->setColumnStretch(1, 1);
    g3->setColumnStretch(4, 1);
    g3->setRowStretch(8, 1);

    tabs_->addTab(encoding, QString());
    tabs_->addTab(tab2, QString());
    tabs_->addTab(memory, QString());
    tabs_->setTabEnabled(1, false);

    close_ = newCloseButton(*this);
    auto* buttons = buttonRow({close_});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);
}

QComboBox* DtmfWindow::timingList(Timing which) const
{
    return timing_[at(which)];
}
QComboBox* DtmfWindow::indexList(Index which) const
{
    return index_[at(which)];
}
GuardedLineEdit* DtmfWindow::codeBox(Code which) const
{
    return codes_[at(which)];
}
GuardedLineEdit* DtmfWindow::memoryBox(int n) const
{
    return n >= 1 && n <= kDtmfMemoryCodes ? memory_[static_cast<std::size_t>(n - 1)] : nullptr;
}

TimingList DtmfWindow::timingSpec(Timing which) const
{
    switch (which) {
        case Timing::Rate:
            return rateList();
        case Timing::FirstDigitTime:
            return firstDigitTimeList();
        case Timing::FirstDigitDelay:
            return firstDigitDelayList();
        case Timing::StarHashTime:
            break;
    }
    return starHashTimeList();
}

DtmfCode& DtmfWindow::codeField(Code which)
{
    DtmfSettings& d = app_.documents.working().Data.Dtmf;
    switch (which) {
        case Code::PttIdBot:
            return d.PttIdBot;
        case Code::PttIdEot:
            return d.PttIdEot;
        case Code::Stun:
            return d.StunCode;
        case Code::Kill:
            break;
    }
    return d.KillCode;
}

std::int16_t& DtmfWindow::indexField(Index which)
{
    RadioData& data = app_.documents.working().Data;
    switch (which) {
        case Index::DKey:
            return data.Dtmf.DKey;
        case Index::PttIdPause:
            return data.Options.PttIdPause;
        case Index::CallAlert:
            return data.Dtmf.CallAlert;
        case Index::GroupCode:
            return data.Dtmf.GroupCode;
        case Index::AutoReset:
            break;
    }
    return data.Dtmf.AutoResetTimer;
}

void DtmfWindow::fillLists()
{
    for (Timing t :
         {Timing::Rate, Timing::FirstDigitTime, Timing::FirstDigitDelay, Timing::StarHashTime}) {
        QComboBox* l = timing_[at(t)];
        const QSignalBlocker block(l);
        l->clear();
        for (const auto& e : timingSpec(t).entries) l->addItem(QString::fromStdString(e));
    }
    auto fill = [](QComboBox* l, const QStringList& entries) {
        const QSignalBlocker block(l);
        l->clear();
        l->addItems(entries);
    };
    QStringList seconds16{QString()}, pause{QString()}, seconds15{QString()};
    for (int n = 1; n <= 16; ++n) seconds16 << QString("%1s").arg(n);
    for (int n = 1; n <= 15; ++n) pause << QString::number(5 * n);
    for (int n = 1; n <= 15; ++n) seconds15 << QString("%1s").arg(n);
    fill(index_[at(Index::DKey)], seconds16);
    fill(index_[at(Index::PttIdPause)], pause);
    fill(index_[at(Index::CallAlert)], {QString(), QString(), QString()});
    fill(index_[at(Index::GroupCode)], {QString(), "A", "B", "C", "D", "*", "#"});
    fill(index_[at(Index::AutoReset)], seconds15);
}

void DtmfWindow::applyLanguageTexts()
{
    setWindowTitle(app_.text(text::dtmf::DTMFWindowCaption));
    tabs_->setTabText(0, app_.text(text::dtmf::Tab1Encoding));
    tabs_->setTabText(1, app_.text(text::dtmf::Tab2Decoding));
    tabs_->setTabText(2, app_.text(text::dtmf::Tab3MemoryCodes));
    const std::array<int, 4> timingIds{
        text::dtmf::LabelDigitDuration, text::dtmf::LabelFirstDigitDuration,
        text::dtmf::LabelFirstDigitDelay, text::dtmf::LabelStarAndHashDuration};
    for (std::size_t i = 0; i < timingLabels_.size(); ++i)
        timingLabels_[i]->setText(app_.text(timingIds[i]));
    const std::array<int, 5> indexIds{text::dtmf::LabelDKey, text::option::LabelPTTIDPause,
                                      text::dtmf::LabelCallAlert, text::dtmf::LabelGroupCode,
                                      text::dtmf::LabelAutoResetTime};
    for (std::size_t i = 0; i < indexLabels_.size(); ++i)
        indexLabels_[i]->setText(app_.text(indexIds[i]));
    const std::array<int, 4> codeIds{
        text::dtmf::LabelPTTIDCodeSentAtStart, text::dtmf::LabelPTTIDCodeSentAtEnd,
        text::dtmf::LabelRemoteStunCode, text::dtmf::LabelRemoteKillCode};
    for (std::size_t i = 0; i < codeLabels_.size(); ++i)
        codeLabels_[i]->setText(app_.text(codeIds[i]));
    idLabel_->setText(app_.text(text::dtmf::LabelOwnIDCode));
    sideTone_->setText(app_.text(text::dtmf::CheckBoxDTMFSideTone));
    auto entry = [](QComboBox* l, int i, const QString& text) {
        const QSignalBlocker block(l);
        if (i < l->count()) l->setItemText(i, text);
    };
    entry(index_[at(Index::DKey)], 0, app_.text(text::dtmf::DKeyEntry0Off));
    entry(index_[at(Index::PttIdPause)], 0, app_.text(text::option::ListEntryOff));
    for (int i = 0; i < 3; ++i)
        entry(index_[at(Index::CallAlert)], i,
              app_.text(text::dtmf::CallAlertGroupCodeAutoResetEntry0Off + i));
    entry(index_[at(Index::GroupCode)], 0,
          app_.text(text::dtmf::CallAlertGroupCodeAutoResetEntry0Off));
    entry(index_[at(Index::AutoReset)], 0,
          app_.text(text::dtmf::CallAlertGroupCodeAutoResetEntry0Off));
    captionCommonButtons(*this, app_.texts.lookup());
}

void DtmfWindow::loadControls()
{
    const DtmfSettings& d = app_.documents.working().Data.Dtmf;
    auto select = [](QComboBox* l, int index) {
        const QSignalBlocker block(l);
        l->setCurrentIndex(index < 0 || index >= l->count() ? 0 : index);
    };
    const std::array<int, 4> stored{d.Rate, d.FirstDigitTime, d.FirstDigitDelay, d.StarHashTime};
    for (Timing t :
         {Timing::Rate, Timing::FirstDigitTime, Timing::FirstDigitDelay, Timing::StarHashTime}) {
        select(timing_[at(t)], timingIndexOf(timingSpec(t), stored[at(t)]));
        timingChanged(t);  // loading writes the shown value back
    }
    for (Index i : {Index::DKey, Index::PttIdPause}) {
        select(index_[at(i)], indexField(i));
        indexChanged(i);
    }
    {
        const QSignalBlocker block(sideTone_);
        sideTone_->setChecked(d.SideTone == 1);
    }
    for (Index i : {Index::CallAlert, Index::GroupCode, Index::AutoReset}) {
        select(index_[at(i)], indexField(i));
        indexChanged(i);
    }
    {
        const QSignalBlocker block(idBox_);
        idBox_->setText(QString::fromLatin1(idCodeText(d).c_str()));
        idBox_->setModified(false);
    }
    for (Code c : {Code::PttIdBot, Code::PttIdEot, Code::Stun, Code::Kill}) {
        const QSignalBlocker block(codes_[at(c)]);
        codes_[at(c)]->setText(QString::fromLatin1(dtmfCodeText(codeField(c)).c_str()));
    }
    for (int n = 1; n <= kDtmfMemoryCodes; ++n) {
        const QSignalBlocker block(memoryBox(n));
        memoryBox(n)->setText(
            QString::fromLatin1(dtmfCodeText(d.Memory[static_cast<std::size_t>(n - 1)]).c_str()));
    }
}

void DtmfWindow::timingChanged(Timing which)
{
    const auto value = timingValueOf(timingSpec(which), timing_[at(which)]->currentIndex());
    if (!value) return;
    DtmfSettings& d = app_.documents.working().Data.Dtmf;
    switch (which) {
        case Timing::Rate:
            d.Rate = *value;
            break;
        case Timing::FirstDigitTime:
            d.FirstDigitTime = *value;
            break;
        case Timing::FirstDigitDelay:
            d.FirstDigitDelay = *value;
            break;
        case Timing::StarHashTime:
            d.StarHashTime = *value;
            break;
    }
}

void DtmfWindow::indexChanged(Index which)
{
    const int index = index_[at(which)]->currentIndex();
    if (index >= 0) indexField(which) = static_cast<std::int16_t>(index);
}

void DtmfWindow::codeChanged(Code which)
{
    storeDtmfCode(codeField(which), codes_[at(which)]->text().toLatin1().toStdString());
}

void DtmfWindow::memoryChanged(int n)
{
    changeMemoryCode(app_.documents.working(), n, memoryBox(n)->text().toLatin1().toStdString());
    emit app_.events.dtmfCodesChanged();
}

void DtmfWindow::validateIdBox()
{
    DtmfSettings& d = app_.documents.working().Data.Dtmf;
    const std::string shown = validateIdCode(d, idBox_->text().toLatin1().toStdString());
    const QSignalBlocker block(idBox_);
    if (idBox_->text() != QString::fromLatin1(shown.c_str()))
        idBox_->setText(QString::fromLatin1(shown.c_str()));
    idBox_->setModified(false);
}

void DtmfWindow::commitPendingEdits()
{
    if (idBox_->isModified()) validateIdBox();
}

}  // namespace zt::gui
