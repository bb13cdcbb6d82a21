#include "gui/channels/channel_editor_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <array>

#include "core/edit/channel_cell_rules.h"
#include "core/edit/channel_grid_rules.h"
#include "core/text_ids.h"
#include "core/values/tones.h"
#include "gui/app_context.h"
#include "gui/channels/channel_windows.h"
#include "gui/document_events.h"
#include "gui/functions/dtmf_code_list.h"
#include "gui/text_codec.h"
#include "gui/widgets/common_buttons.h"
#include "gui/widgets/twips.h"
#include "gui/widgets/typed_list_box.h"
#include "gui/window_names.h"

namespace zt::gui {
namespace {

// Visible lists Combo2(i) in the order they appear, with their caption and field code.
struct ListSpec {
    int index;
    int captionId;  // 0: built-in caption "Rep"
    int fieldCode;
};
constexpr std::array<ListSpec, 9> kLists = {
    {{18, text::channeledit::LabelToneSquelch, 30},
     {0, text::channeledit::LabelDecodeTone, 4},
     {1, text::channeledit::LabelEncodeTone, 5},
     {6, text::channeledit::LabelBusyChannelLock, 11},
     {11, text::channeledit::LabelRBTone, 23},
     {8, text::channeledit::LabelDTMFCodeSentAtStartOfTransmission, 13},
     {10, text::channeledit::LabelDTMFCodeSentAtEndOfTransmission, 22},
     {16, text::channeledit::LabelDTMFCallCode, 28},
     {17, 0, 29}}};
// Visible check boxes Check1(i) with their caption; the field code is 7 for i = 0, else i + 30.
constexpr std::array<std::pair<int, int>, 6> kChecks = {
    {{0, text::channeledit::CheckBoxSkipTheChannelWhenScanning},
     {7, text::channeledit::CheckBoxRXExpander},
     {8, text::channeledit::CheckBoxTXCompressor},
     {9, text::channeledit::CheckBoxNoiseBlankerAutomaticNoiseLimiter},
     {10, text::channeledit::CheckBoxAttenuator},
     {11, text::channeledit::CheckBoxHiCutFilter}}};

int checkFieldCode(int i)
{
    if (i == 0) return 7;
    if (i <= 6) return i + 13;
    return i + 30;
}

bool isEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

bool isReferenceList(int i)
{
    return i == 8 || i == 10 || i == 16 || i == 11;
}

std::int16_t storedReference(const ChannelRecord& rec, int i)
{
    switch (i) {
        case 8:
            return rec.BotCode;
        case 10:
            return rec.EotCode;
        case 16:
            return rec.CallCode;
        default:
            return rec.RBTone;
    }
}

std::int16_t checkValue(const ChannelRecord& rec, int i)
{
    switch (i) {
        case 0:
            return rec.ScanSkip;
        case 7:
            return rec.RxExpand;
        case 8:
            return rec.TxCompress;
        case 9:
            return rec.NbAnl;
        case 10:
            return rec.Attenuator;
        default:
            return rec.HiCut;
    }
}

}  // namespace

ChannelEditorWindow::ChannelEditorWindow(AppContext& app, QWidget* parent)
    : QWidget(parent), app_(app)
{
    setObjectName(QString::fromLatin1(window::ChannelEditor));
    followDocument(*this, *this, app_.events);
    connect(&app_.events, &DocumentEvents::channelChanged, this, [this] { reload(); });
    connect(&app_.events, &DocumentEvents::editPositionChanged, this, [this] { reload(); });
    connect(&app_.events, &DocumentEvents::rbTonesChanged, this,
            &ChannelEditorWindow::refreshRbToneList);
    connect(&app_.events, &DocumentEvents::optionsChanged, this,
            &ChannelEditorWindow::updateFrequencyPermission);
    connect(&app_.events, &DocumentEvents::dtmfCodesChanged, this,
            &ChannelEditorWindow::refreshDtmfCodeLists);
    writeUserChanges = true;
    buildControls();
    applyLanguageTexts();
    app_.channelEdit.editorOpen = true;
    showChannel(true);
}

ChannelEditorWindow::~ChannelEditorWindow()
{
    unloadWindow();
}

QComboBox* ChannelEditorWindow::combo2(int i) const
{
    const auto it = fieldLists_.find(i);
    return it == fieldLists_.end() ? nullptr : it->second;
}

QCheckBox* ChannelEditorWindow::check1(int i) const
{
    const auto it = fieldChecks_.find(i);
    return it == fieldChecks_.end() ? nullptr : it->second;
}

int ChannelEditorWindow::group() const
{
    return groupList_->currentIndex();
}

int ChannelEditorWindow::row() const
{
    return channelList_->currentIndex() + 1;
}

void ChannelEditorWindow::buildControls()
{
    setStyleSheet(
        QStringLiteral("QLineEdit:disabled, QComboBox:disabled { background: palette(window); }"
                       // Lists open about 20 rows high, not screen high (265 tones).
                       "QComboBox { combobox-popup: 0; }"));
    auto* top = new QGridLayout;
    groupLabel_ = new QLabel(this);
    groupList_ = new QComboBox(this);
    groupList_->setObjectName("Combo4");
    for (int g = 0; g < kChannelGroupCount; ++g) groupList_->addItem(QString::number(g));
    channelLabel_ = new QLabel(this);
    channelList_ = new QComboBox(this);
    channelList_->setObjectName("Combo1");
    channelList_->setMaxVisibleItems(20);
    for (QLabel* l : {groupLabel_, channelLabel_})
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    top->addWidget(groupLabel_, 0, 0);
    top->addWidget(groupList_, 0, 1);
    top->addWidget(channelLabel_, 1, 0);
    top->addWidget(channelList_, 1, 1);
    top->setColumnStretch(2, 1);

    settingsFrame_ = new QGroupBox(this);
    auto* grid = new QGridLayout(settingsFrame_);
    grid->setHorizontalSpacing(twipsToPixels(100));
    rxFrequencyLabel_ = new QLabel(settingsFrame_);
    rxFrequencyBox_ = new QLineEdit(settingsFrame_);
    rxFrequencyBox_->setObjectName("Text1");
    rxFrequencyBox_->setMaxLength(9);
    rxFrequencyBox_->setContextMenuPolicy(Qt::NoContextMenu);
    rxFrequencyBox_->installEventFilter(this);
    int line = 0;
    rxFrequencyLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(rxFrequencyLabel_, line, 0);
    grid->addWidget(rxFrequencyBox_, line++, 1);
    for (const ListSpec& spec : kLists) {
        auto* label = new QLabel(settingsFrame_);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* list = new TypedListBox(settingsFrame_);
        list->setObjectName(QString("Combo2_%1").arg(spec.index));
        list->setMaxVisibleItems(20);
        list->setMinimumWidth(120);
        list->installEventFilter(this);
        fieldListLabels_[spec.index] = label;
        fieldLists_[spec.index] = list;
        grid->addWidget(label, line, 0);
        grid->addWidget(list, line++, 1);
        connect(list, &TypedListBox::chosen, this, [this, i = spec.index] { onListChosen(i); });
    }
    auto* checks = new QGridLayout;
    int k = 0;
    for (const auto& [i, caption] : kChecks) {
        auto* box = new QCheckBox(settingsFrame_);
        box->setObjectName(QString("Check1_%1").arg(i));
        box->installEventFilter(this);
        fieldChecks_[i] = box;
        checks->addWidget(box, k / 2, k % 2);
        ++k;
        connect(box, &QCheckBox::clicked, this, [this, i = i] { onCheckClicked(i); });
    }
    grid->addLayout(checks, line++, 0, 1, 2);

    closeButton_ = newCloseButton(*this);
    auto* buttons = buttonRow({closeButton_});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(settingsFrame_);
    layout->addStretch(1);
    layout->addLayout(buttons);

    groupList_->installEventFilter(this);
    channelList_->installEventFilter(this);
    connect(groupList_, &QComboBox::activated, this, [this] { onGroupOrChannelChosen(); });
    connect(channelList_, &QComboBox::activated, this, [this] { onGroupOrChannelChosen(); });
}

void ChannelEditorWindow::applyLanguageTexts()
{
    setWindowTitle(app_.text(text::channeledit::ChannelEditorWindowCaption));
    groupLabel_->setText(app_.text(text::channeledit::LabelGroup));
    channelLabel_->setText(app_.text(text::channeledit::LabelChannel));
    rxFrequencyLabel_->setText(app_.text(text::channeledit::LabelReceiveFrequency));
    for (const ListSpec& spec : kLists)
        fieldListLabels_[spec.index]->setText(spec.captionId ? app_.text(spec.captionId)
                                                             : QStringLiteral("Rep"));
    for (const auto& [i, caption] : kChecks) fieldChecks_[i]->setText(app_.text(caption));
    closeButton_->setText(app_.text(text::msg::CloseCaption));
    if (!unloaded_ && app_.channelEdit.editorOpen) {
        const bool was = writeUserChanges;
        showChannel(false);
        writeUserChanges = was;
    }
}

void ChannelEditorWindow::listGroupChannels(int group)
{
    channelList_->clear();
    for (int r = 1; r <= GroupSize(group); ++r) channelList_->addItem(QString::number(r));
}

void ChannelEditorWindow::showChannel(bool fromGrid)
{
    ChannelEditState& st = app_.channelEdit;
    writeUserChanges = false;
    for (auto& [i, list] : fieldLists_) list->dropPendingEntry();
    if (fromGrid) {
        const int g =
            st.currentGroup >= 0 && st.currentGroup < kChannelGroupCount ? st.currentGroup : 0;
        groupList_->setCurrentIndex(g);
        listGroupChannels(g);
        channelList_->setCurrentIndex(
            st.editRow >= 1 && st.editRow <= channelList_->count() ? st.editRow - 1 : 0);
    } else {
        if (groupList_->currentIndex() != st.currentGroup) {
            st.currentGroup = groupList_->currentIndex();
            emit app_.events.channelGroupChosen();
            writeUserChanges = false;
            listGroupChannels(groupList_->currentIndex());
        }
        if (channelList_->currentIndex() < 0) channelList_->setCurrentIndex(0);
        st.editRow = channelList_->currentIndex() + 1;
    }
    const bool vfo = group() == kVfoGroup;
    fieldListLabels_[17]->setVisible(vfo);
    fieldLists_[17]->setVisible(vfo);

    RadioDocument& doc = app_.documents.working();
    ChannelRecord* rec = doc.findChannel(GroupBase(group()) + row());
    if (!rec) {
        showEmpty();
    } else {
        for (auto& [i, list] : fieldLists_) list->setEnabled(true);
        for (auto& [i, box] : fieldChecks_) box->setEnabled(true);
        rxFrequencyBox_->setEnabled(true);
        rxFrequencyBox_->setText(QString::fromStdString(rxCellText(*rec, app_.state.Limits)));

        QStringList tones;
        tones << app_.text(text::channeledit::ListEntryOffNone);
        for (int t = 1; t < kToneCount; ++t) tones << QString::fromStdString(toneText(t));
        for (int i : {0, 1}) {
            fieldLists_[i]->clear();
            fieldLists_[i]->addItems(tones);
            fieldLists_[i]->setCurrentIndex(
                shownListIndex(i == 0 ? rec->DecodeTone : rec->EncodeTone, kToneCount));
        }
        fillBusyLock(receiveTone(*rec) != 0);
        busyMirror_ = showBusyLock(*rec);
        fieldLists_[6]->setCurrentIndex(busyMirror_);
        refreshRbToneList();
        fieldLists_[18]->clear();
        fieldLists_[18]->addItems(
            {app_.text(text::channeledit::TSQEntry0), app_.text(text::channeledit::TSQEntry1)});
        fieldLists_[18]->setCurrentIndex(shownListIndex(rec->Tsq, 2));
        for (int i : {8, 10, 16}) fillCodeList(fieldLists_[i], storedReference(*rec, i));
        fieldLists_[17]->clear();
        fieldLists_[17]->addItems(
            {app_.text(text::channeledit::ListEntryOffNone), "+100K", "-100K"});
        fieldLists_[17]->setCurrentIndex(shownListIndex(rec->Rep, 3));
        for (auto& [i, box] : fieldChecks_) box->setChecked(checkValue(*rec, i) == 1);
    }
    updateFrequencyPermission();
    writeUserChanges = true;
}

void ChannelEditorWindow::showEmpty()
{
    rxFrequencyBox_->setText(QString());
    rxFrequencyBox_->setEnabled(true);
    for (auto& [i, list] : fieldLists_) {
        list->clear();
        list->addItem(QStringLiteral(" "));
        list->setCurrentIndex(0);
        list->setEnabled(false);
    }
    for (auto& [i, box] : fieldChecks_) {
        box->setChecked(false);
        box->setEnabled(false);
    }
}

void ChannelEditorWindow::fillBusyLock(bool withThird)
{
    QComboBox* list = fieldLists_[6];
    list->clear();
    list->addItems({app_.text(text::channeledit::ListEntryOffNone),
                    app_.text(text::channeledit::BusyLockSquelchModeEntry1Carrier)});
    if (withThird)
        list->addItem(app_.text(text::channeledit::BusyLockSquelchModeEntry2CTCSSDCSTone));
}

void ChannelEditorWindow::fillCodeList(QComboBox* list, int stored)
{
    const std::vector<int> numbers = nonEmptyDtmfCodeNumbers(app_.documents.working().Data);
    list->clear();
    list->addItem(app_.text(text::channelinfo::ListEntryNoToneNoneOff));
    for (int n : numbers) list->addItem(QString::number(n));
    list->setCurrentIndex(shownReferenceIndex(stored, numbers));
}

void ChannelEditorWindow::refreshDtmfCodeLists()
{
    // A list showing no channel (disabled, holding " ") stays as it is: choosing an entry
    // there would write to an empty position.
    for (int i : {8, 10, 16}) {
        QComboBox* list = fieldLists_[i];
        if (list->isEnabled() && list->currentText() != QLatin1String(" "))
            refillDtmfCodeList(*list, app_.documents.working().Data.Dtmf,
                               app_.text(text::channelinfo::ListEntryNoToneNoneOff));
    }
}

void ChannelEditorWindow::refreshRbToneList()
{
    QComboBox* list = fieldLists_[11];
    if (!list->isEnabled()) return;
    const ChannelRecord* rec = app_.documents.working().findChannel(GroupBase(group()) + row());
    if (!rec) return;
    const bool was = writeUserChanges;
    writeUserChanges = false;
    rbMirror_ = rec->RBTone >= 0 && rec->RBTone <= 8 ? rec->RBTone : 0;
    const std::vector<int> numbers = definedToneTipNumbers(app_.documents.working().Data);
    list->clear();
    list->addItem(app_.text(text::channeledit::ListEntryOffNone));
    for (int n : numbers) list->addItem(QString::number(n));
    list->setCurrentIndex(shownReferenceIndex(rbMirror_, numbers));
    writeUserChanges = was;
}

void ChannelEditorWindow::updateFrequencyPermission()
{
    // The group the editor shows decides, as it decides the write: with the grid closed the
    // editor may show another group than the grid's stored one, and a box open for typing
    // whose entry is then refused without a word would mislead.
    rxFrequencyBox_->setEnabled(frequencyEditPermitted(app_.documents.working().Data, group()));
}

void ChannelEditorWindow::onGroupOrChannelChosen()
{
    if (group() != app_.channelEdit.currentGroup || row() != app_.channelEdit.editRow)
        showChannel(false);
}

void ChannelEditorWindow::writeField(int fieldCode, int value)
{
    channelWriteBack(app_, WriteBackRequest{group(), row(), fieldCode, std::to_string(value)});
}

void ChannelEditorWindow::onListChosen(int i)
{
    if (!writeUserChanges) return;
    QComboBox* list = fieldLists_[i];
    const QString text = list->currentText();
    if (text.isEmpty() || text == QLatin1String(" ")) return;
    if (i == 0) fillBusyLock(list->currentIndex() != 0);
    int value = list->currentIndex();
    if (i == 6) {
        busyMirror_ = value;  // the visible entries are the mirror's first ones
    } else if (isReferenceList(i)) {
        value = list->currentIndex() == 0 ? 0 : text.toInt();
        if (i == 11) rbMirror_ = value;
    }
    for (const ListSpec& spec : kLists)
        if (spec.index == i) {
            writeField(spec.fieldCode, value);
            return;
        }
}

void ChannelEditorWindow::onCheckClicked(int i)
{
    if (!writeUserChanges) return;
    writeField(checkFieldCode(i), fieldChecks_[i]->isChecked() ? 1 : 0);
}

void ChannelEditorWindow::concludeFrequency()
{
    if (!writeUserChanges || !rxFrequencyBox_->isModified()) return;
    rxFrequencyBox_->setModified(false);
    channelWriteBack(app_,
                     WriteBackRequest{group(), row(), kColRx,
                                      toRecordText(formatFrequencyText(rxFrequencyBox_->text()))});
    showChannel(false);
}

void ChannelEditorWindow::commitPendingEdits()
{
    concludeFrequency();
    for (auto& [i, list] : fieldLists_) list->commit();
}

bool ChannelEditorWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == rxFrequencyBox_) {
            if (isEnter(key)) {
                concludeFrequency();
                focusNextChild();
                return true;
            }
            if ((key->modifiers() & Qt::ControlModifier) &&
                (key->key() == Qt::Key_X || key->key() == Qt::Key_V || key->key() == Qt::Key_C))
                return true;
            const QString t = key->text();
            if (t.size() != 1 || t.at(0).unicode() < 32) return false;
            return !frequencyCharAccepted(t.at(0).unicode(), false);
        }
        if (isEnter(key)) {
            if (auto* list = qobject_cast<TypedListBox*>(watched)) list->commit();
            focusNextChild();
            return true;
        }
    } else if (event->type() == QEvent::FocusIn && watched == rxFrequencyBox_) {
        QTimer::singleShot(0, rxFrequencyBox_, &QLineEdit::selectAll);
    } else if (event->type() == QEvent::FocusOut && watched == rxFrequencyBox_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            concludeFrequency();
    }
    return QWidget::eventFilter(watched, event);
}

void ChannelEditorWindow::mousePressEvent(QMouseEvent* event)
{
    if (rxFrequencyBox_->hasFocus()) {
        concludeFrequency();
        focusNextChild();
    }
    QWidget::mousePressEvent(event);
}

void ChannelEditorWindow::closeEvent(QCloseEvent* event)
{
    unloadWindow();
    QWidget::closeEvent(event);
}

void ChannelEditorWindow::unloadWindow()
{
    if (unloaded_) return;
    commitPendingEdits();
    unloaded_ = true;
    app_.channelEdit.editorOpen = false;
    disconnect(&app_.events, nullptr, this, nullptr);
}

}  // namespace zt::gui
