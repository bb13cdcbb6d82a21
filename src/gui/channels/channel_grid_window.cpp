#include "gui/channels/channel_grid_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "core/edit/channel_grid_rules.h"
#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/channels/channel_editor_window.h"
#include "gui/channels/channel_field_setter.h"
#include "gui/channels/channel_grid_clipboard.h"
#include "gui/channels/channel_grid_menu.h"
#include "gui/channels/channel_grid_view.h"
#include "gui/channels/channel_table_model.h"
#include "gui/channels/channel_windows.h"
#include "gui/child_window.h"
#include "gui/document_events.h"
#include "gui/text_codec.h"
#include "gui/widgets/text_size.h"
#include "gui/widgets/twips.h"
#include "gui/window_names.h"

namespace zt::gui {
namespace {

constexpr std::array<int, kGridColumns> kColumnTwips = {740, 1300, 0, 0, 1200, 1200,
                                                        0,   0,    0, 0, 1400};
// With the whole channel in view: the width of every field column the grid otherwise hides
// (the offset, scan, optional signalling and spacing columns) and of the extra columns.
constexpr int kFieldColumnTwips = 1200;
constexpr int kGridTwips = 6200;

bool isCtrlCutCopyPaste(const QKeyEvent* key)
{
    if (!(key->modifiers() & Qt::ControlModifier)) return false;
    return key->key() == Qt::Key_X || key->key() == Qt::Key_V || key->key() == Qt::Key_C;
}

bool isEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

}  // namespace

ChannelGridWindow::ChannelGridWindow(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    runTrapped(app_, "frmCommChInfo_Form_Load", [&] {
        setObjectName(QStringLiteral("frmCommChInfo"));
        followDocument(*this, *this, app_.events);
        connect(&app_.events, &DocumentEvents::channelChanged, this,
                &ChannelGridWindow::refreshChannelRow);
        connect(&app_.events, &DocumentEvents::channelListChanged, this,
                &ChannelGridWindow::refreshEmergencyLists);
        connect(&app_.events, &DocumentEvents::channelGroupChosen, this,
                &ChannelGridWindow::showCurrentGroup);
        firstActivation_ = false;
        resize(scaledTwipsToPixels(6800), scaledTwipsToPixels(6600));
        buildControls();
        initGridLayout();
        if (ChannelGridViewOption::instance().wholeChannel()) showWholeChannel(true);
        applyLanguageTexts();
        app_.channelEdit.gridOpen = true;
        const int stored = app_.documents.working().Data.Options.CurrentGroup;
        const int group = stored >= 0 && stored < kChannelGroupCount ? stored : 0;
        {
            const QSignalBlocker block(groupList_);
            groupList_->setCurrentIndex(group);
        }
        showGroup(group);
        firstActivation_ = true;
        grid_->setReady(true);
        grid_->placeCursor(0, kColRx);
    });
}

ChannelGridWindow::~ChannelGridWindow()
{
    unloadWindow();
}

void ChannelGridWindow::buildControls()
{
    auto* top = new QHBoxLayout;
    groupLabel_ = new QLabel(this);
    groupLabel_->setObjectName("Label1");
    groupList_ = new QComboBox(this);
    groupList_->setObjectName("Combo7");
    for (int g = 0; g < kChannelGroupCount; ++g) groupList_->addItem(QString::number(g));
    groupNameLabel_ = new QLabel(this);
    groupNameLabel_->setObjectName("Label2");
    groupNameBox_ = new QLineEdit(this);
    groupNameBox_->setObjectName("Text3");
    groupNameBox_->setMaxLength(3);
    groupNameBox_->setFixedWidth(48);
    groupNameBox_->setContextMenuPolicy(Qt::NoContextMenu);
    groupNameBox_->installEventFilter(this);
    for (int i = 0; i < 4; ++i) {
        groupSettingLabels_[i] = new QLabel(this);
        groupSettingLabels_[i]->setObjectName(QString("Label3_%1").arg(i));
        groupSettingLists_[i] = new QComboBox(this);
        groupSettingLists_[i]->setObjectName(QString("Combo8_%1").arg(i));
        groupSettingLists_[i]->installEventFilter(this);
    }
    for (QLabel* l : {groupLabel_, groupNameLabel_, groupSettingLabels_[0], groupSettingLabels_[1]})
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The VFO group hides the emergency selectors; the other controls keep their places.
    for (QWidget* w :
         std::initializer_list<QWidget*>{groupSettingLabels_[0], groupSettingLabels_[1],
                                         groupSettingLists_[0], groupSettingLists_[1]}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }
    // Group and name on the first line, the two emergency channels on the second; each label
    // stands right-aligned before its control.
    auto* settings = new QGridLayout;
    settings->addWidget(groupLabel_, 0, 0);
    settings->addWidget(groupList_, 0, 1);
    settings->addWidget(groupNameLabel_, 0, 2);
    settings->addWidget(groupNameBox_, 0, 3);
    settings->addWidget(groupSettingLabels_[0], 1, 0);
    settings->addWidget(groupSettingLists_[0], 1, 1);
    settings->addWidget(groupSettingLabels_[1], 1, 2);
    settings->addWidget(groupSettingLists_[1], 1, 3);
    settings->setColumnStretch(4, 1);
    top->addLayout(settings);
    // The group's AM/FM settings are kept in the document but never shown.
    for (int i = 2; i < 4; ++i) {
        groupSettingLabels_[i]->hide();
        groupSettingLists_[i]->hide();
        groupSettingLists_[i]->move(-1000, -1000);
        groupSettingLists_[i]->addItems({"AM", "FM"});
    }

    model_ = new ChannelTableModel(app_, this);
    model_->setWriteBack(
        [this](const WriteBackRequest& request) { return channelWriteBack(app_, request); });
    grid_ = new ChannelGridView(this);
    grid_->setObjectName("MSFlexGrid1");
    grid_->setChannelModel(model_);
    clipboard_ = std::make_unique<ChannelGridClipboard>(app_, *grid_);

    auto* buttons = new QHBoxLayout;
    openEditorButton_ = new QPushButton(this);
    openEditorButton_->setObjectName("CommandCHInfoEdit");
    closeButton_ = new QPushButton(this);
    closeButton_->setObjectName("CommandClose");
    buttons->addStretch(1);
    buttons->addWidget(openEditorButton_);
    buttons->addWidget(closeButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_, 1, Qt::AlignHCenter);
    layout->addLayout(buttons);

    connect(groupList_, &QComboBox::currentIndexChanged, this, [this](int g) {
        if (g >= 0) showGroup(g);
    });
    connect(groupNameBox_, &QLineEdit::textChanged, this, &ChannelGridWindow::onGroupNameEdited);
    for (int i = 0; i < 4; ++i)
        connect(groupSettingLists_[i], &QComboBox::currentIndexChanged, this,
                [this, i] { onEmergencyChosen(i); });
    connect(grid_, &ChannelGridView::cellEntered, this, &ChannelGridWindow::onCellEntered);
    connect(grid_, &ChannelGridView::editStarted, this, &ChannelGridWindow::onEditStarted);
    connect(grid_, &ChannelGridView::fixedFrequencyRefused, this,
            [this] { emit statusHint(app_.text(text::channelinfo::FixedFrequenciesHint)); });
    connect(grid_, &ChannelGridView::channelEditorRequested, this,
            [this] { openChannelEditor(true); });
    connect(grid_, &ChannelGridView::deleteRequested, this,
            &ChannelGridWindow::deleteSelectedChannels);
    contextMenu_ = newChannelGridContextMenu(*this);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { contextMenu_->popup(grid_->viewport()->mapToGlobal(at)); });
    connect(&ChannelGridViewOption::instance(), &ChannelGridViewOption::wholeChannelChanged, this,
            &ChannelGridWindow::showWholeChannel);
    connect(openEditorButton_, &QPushButton::clicked, this, [this] {
        concludeCellEdit();
        openChannelEditor(false);
    });
    connect(closeButton_, &QPushButton::clicked, this, [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->close();
        else
            close();
    });
}

void ChannelGridWindow::initGridLayout()
{
    runTrapped(app_, "frmCommChInfo_InitShowGridError", [&] {
        grid_->verticalHeader()->hide();
        grid_->horizontalHeader()->setFixedHeight(scaledTwipsToPixels(500));
        grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        grid_->horizontalHeader()->setMinimumSectionSize(0);
        grid_->horizontalHeader()->setHighlightSections(false);
        // Headings wrap onto the two lines the heading row has room for.
        grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter |
                                                       Qt::Alignment(Qt::TextWordWrap));
        grid_->horizontalHeader()->setSectionsClickable(false);
        grid_->verticalHeader()->setDefaultSectionSize(scaledPixels(20));

        grid_->setStyleSheet(
            QStringLiteral("QHeaderView::section { color: rgb(0,0,155); font-weight: bold;"
                           " background: rgb(236,236,236); border: 1px solid #c0c0c0; }"
                           "QTableView { gridline-color: #c8c8c8; }"
                           "QTableView::item:selected { background: rgb(190,215,245);"
                           " color: black; }"));
        applyColumnLayout();
    });
}

void ChannelGridWindow::applyColumnLayout()
{
    const bool whole = model_->wholeChannel();
    for (int c = 0; c < model_->columnCount(); ++c) {
        int twips = c < kGridColumns ? kColumnTwips[c] : kFieldColumnTwips;
        // Columns 3 and 6 store nothing and stay hidden in every view.
        if (whole && (c == kColTx || c == kColScanSkip || c == kColOptSignal || c == kColSpacing))
            twips = kFieldColumnTwips;
        grid_->setColumnWidth(c, scaledTwipsToPixels(twips));
        // Columns of width 0 stay filled but cannot be seen.
        grid_->setColumnHidden(c, twips == 0);
    }
    // ">>" stays the last column shown.
    QHeaderView* header = grid_->horizontalHeader();
    header->moveSection(header->visualIndex(kColEditor),
                        whole ? model_->columnCount() - 1 : kColEditor);
    if (whole) {
        grid_->setMinimumWidth(scaledTwipsToPixels(kGridTwips));
        grid_->setMaximumWidth(QWIDGETSIZE_MAX);
        grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    } else {
        grid_->setFixedWidth(scaledTwipsToPixels(kGridTwips));
        grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    if (layout()) layout()->setAlignment(grid_, whole ? Qt::Alignment() : Qt::AlignHCenter);
}

void ChannelGridWindow::showWholeChannel(bool on)
{
    if (model_->wholeChannel() == on) return;
    const int row = std::max(0, grid_->currentRow());
    const int col = grid_->currentColumn();
    grid_->closeOpenEditor();
    model_->setWholeChannel(on);
    grid_->installFieldEditors();
    applyColumnLayout();
    // The cursor stays on its cell; a column that went away sends it to the frequency.
    grid_->placeCursor(
        row, col >= 0 && col < model_->columnCount() && !grid_->isColumnHidden(col) ? col : kColRx);
}

void ChannelGridWindow::setForSelectedChannels()
{
    grid_->commitOpenEditor();
    std::set<int> rows;
    for (const QModelIndex& i : grid_->selectionModel()->selectedIndexes()) rows.insert(i.row());
    if (rows.empty() && grid_->currentIndex().isValid()) rows.insert(grid_->currentRow());
    const bool anyChannel =
        std::any_of(rows.begin(), rows.end(), [this](int r) { return model_->rowHasChannel(r); });
    if (!anyChannel) {
        if (app_.prompt)
            app_.prompt->show(text::others::SetForSelectedNoChannel, Icon::Information);
        return;
    }
    if (!app_.prompt) return;
    ChannelFieldSetDialog dialog(app_, settableFields(app_, *model_), this);
    if (app_.prompt->execModal(dialog) != QDialog::Accepted) return;
    setFieldForRows(app_, *model_, rows, dialog.field(), dialog.entry(), dialog.offsetText());
}

void ChannelGridWindow::applyLanguageTexts()
{
    runTrapped(app_, "frmCommChInfo_ChangShowByLanguage", [&] {
        groupLabel_->setText(app_.text(text::channelinfo::LabelGroupSelector));
        groupNameLabel_->setText(app_.text(text::channelinfo::LabelGroupName));
        groupSettingLabels_[0]->setText(app_.text(text::channelinfo::LabelEmergencyChannel1));
        groupSettingLabels_[1]->setText(app_.text(text::channelinfo::LabelEmergencyChannel2));
        // Headings and the list cells follow the language.
        model_->retranslate();
        openEditorButton_->setText(app_.text(text::channelinfo::ButtonOpenTheChannelEditor));
        closeButton_->setText(app_.text(text::msg::CloseCaption));
        for (QAction* a : contextMenu_->actions())
            if (a->property("textId").isValid())
                a->setText(app_.text(a->property("textId").toInt()));
        setCaption();
    });
}

int ChannelGridWindow::shownGroup() const
{
    return groupList_->currentIndex();
}

QTimer& ChannelGridWindow::doubleClickGuard()
{
    return grid_->doubleClickGuard();
}

QTimer& ChannelGridWindow::scrollGuard()
{
    return grid_->scrollGuard();
}

QString ChannelGridWindow::cellText(int row, int col) const
{
    return grid_->cellText(row - 1, col);
}

void ChannelGridWindow::setCaption()
{
    const int group = shownGroup();
    if (group < 0) return;
    const QString label = fromRecordText(groupLabel(app_.documents.working().Data, group));
    setWindowTitle(app_.text(text::channelinfo::GridWindowCaption) + " " + label + " --- " + " " +
                   QString::number(grid_->currentRow() + 1) + "]");
}

void ChannelGridWindow::warnUnreadableFrequency(int row)
{
    if (model_->rowFrequencyUnreadable(row) && app_.prompt)
        app_.prompt->showText(QStringLiteral("Not IsNumeric"));
}

void ChannelGridWindow::showGroup(int group)
{
    runTrapped(app_, "frmCommChInfo_SetGridData", [&] {
        RadioDocument& doc = app_.documents.working();
        doc.Data.Options.CurrentGroup = static_cast<std::int16_t>(group);
        app_.channelEdit.currentGroup = group;
        model_->setGroup(group);
        grid_->placeCursor(0, kColRx);
        setCaption();

        const bool vfo = group == kVfoGroup;
        {
            const QSignalBlocker block(groupNameBox_);
            groupNameBox_->setText(
                vfo ? QStringLiteral("VFO")
                    : fromRecordText(groupNameForDisplay(doc.Data.Groups[group])));
        }
        groupNameBox_->setEnabled(!vfo);
        for (int i = 0; i < 2; ++i) {
            groupSettingLabels_[i]->setVisible(!vfo);
            groupSettingLists_[i]->setVisible(!vfo);
        }
        refreshEmergencyLists();
        for (int r = 0; r < model_->rowCount(); ++r) warnUnreadableFrequency(r);
        emit app_.events.editPositionChanged();
    });
}

void ChannelGridWindow::showCurrentGroup()
{
    const int group = app_.channelEdit.currentGroup;
    if (group < 0 || group >= kChannelGroupCount) return;
    if (groupList_->currentIndex() == group)
        showGroup(group);
    else
        groupList_->setCurrentIndex(group);
}

void ChannelGridWindow::refreshChannelRow(int chNo)
{
    runTrapped(app_, "frmCommChInfo_reShowGrid", [&] {
        const int row = chNo - GroupBase(app_.channelEdit.currentGroup);
        if (row < 1 || row > model_->rowCount()) return;
        if (ChannelRecord* rec = app_.documents.working().findChannel(chNo)) {
            warnUnreadableFrequency(row - 1);
            applyBusyLockFallback(*rec);
        }
        model_->refreshChannel(chNo);
    });
}

void ChannelGridWindow::refreshEmergencyLists()
{
    const int group = shownGroup();
    const EmergencyLists lists = reshowEmergency(app_.documents.working(), group);
    QStringList rows;
    for (int r : lists.rows) rows << QString::number(r);
    for (int i = 0; i < 2; ++i) {
        const QSignalBlocker block(groupSettingLists_[i]);
        groupSettingLists_[i]->clear();
        groupSettingLists_[i]->addItems(rows);
        groupSettingLists_[i]->setCurrentIndex(lists.shown[i]);
    }
    for (int i = 2; i < 4; ++i) {
        const QSignalBlocker block(groupSettingLists_[i]);
        groupSettingLists_[i]->setCurrentIndex(lists.amFmShown[i - 2]);
    }
}

void ChannelGridWindow::onGroupNameEdited(const QString& text)
{
    const int group = shownGroup();
    if (group < 0 || group >= kNamedGroups) return;
    app_.documents.working().Data.Groups[group] = groupNameFromBox(toRecordText(text));
    setCaption();
}

void ChannelGridWindow::onEmergencyChosen(int which)
{
    RadioData& data = app_.documents.working().Data;
    if (which < 2)
        chooseEmergencyRow(data, shownGroup(), which,
                           toRecordText(groupSettingLists_[which]->currentText()));
    else
        chooseGroupAmFm(data, shownGroup(), which - 2, groupSettingLists_[which]->currentIndex());
}

// ---- Cell editing ----------------------------------------------------------------------

void ChannelGridWindow::onCellEntered(int, int)
{
    app_.documents.working().Data.Options.CurrentGroup = static_cast<std::int16_t>(shownGroup());
    setCaption();
}

void ChannelGridWindow::onEditStarted(int row, int col)
{
    ChannelEditState& st = app_.channelEdit;
    st.editCol = col;
    st.editRow = row + 1;
    emit app_.events.editPositionChanged();
    if ((col == kColRx || col == kColTx) && model_->frequencyEditable()) emit statusHint(QString());
}

bool ChannelGridWindow::requireReceiveFrequency()
{
    bool present = false;
    runTrapped(app_, "frmCommChInfo_FlexConcludeRx", [&] {
        const int row = grid_->currentRow();
        present = !grid_->cellText(row, kColRx).isEmpty();
        if (!present) grid_->setCurrentCell(row, kColRx);
    });
    return present;
}

void ChannelGridWindow::editCurrentCell()
{
    runTrapped(app_, "frmCommChInfo_EnterGridEdit", [&] { grid_->editCurrentCell(); });
}

void ChannelGridWindow::moveToNextRow()
{
    runTrapped(app_, "frmCommChInfo_GridNextLine", [&] { grid_->nextLine(); });
}

void ChannelGridWindow::moveToNextColumn()
{
    runTrapped(app_, "rmCommChInfo_GridNextCol", [&] { grid_->nextColumn(); });
}

void ChannelGridWindow::concludeCellEdit()
{
    grid_->commitOpenEditor();
}

void ChannelGridWindow::commitPendingEdits()
{
    grid_->commitOpenEditor();
}

void ChannelGridWindow::copyCells()
{
    clipboard_->copy();
}

void ChannelGridWindow::cutCells()
{
    clipboard_->cut();
}

void ChannelGridWindow::pasteCells()
{
    clipboard_->pasteFromClipboard();
}

void ChannelGridWindow::deleteSelectedChannels()
{
    clipboard_->deleteSelectedChannels();
}

void ChannelGridWindow::openChannelEditor(bool focusAfter)
{
    if (app_.windowHost) {
        app_.windowHost->showChildWindow(QString::fromLatin1(window::ChannelEditor), focusAfter);
        return;
    }
    // The grid alone (no main window): the editor is a window of its own, and the grid's.
    if (ownEditor_) {
        ownEditor_->activateWindow();
        ownEditor_->setFocus();
        return;
    }
    ownEditor_ = new ChannelEditorWindow(app_);
    ownEditor_->setAttribute(Qt::WA_DeleteOnClose);
    ownEditor_->show();
    if (focusAfter) ownEditor_->activateWindow();
}

ChannelEditorWindow* ChannelGridWindow::ownEditor() const
{
    return ownEditor_.data();
}

void ChannelGridWindow::reload()
{
    // The cursor stays on its row (an undo or a reload keeps the user's place); on a row
    // that no longer holds a channel it goes to the frequency, as entering the row would.
    const int row = grid_->currentRow();
    const int col = grid_->currentColumn();
    showGroup(shownGroup());
    if (row > 0 && row < grid_->rowCount())
        grid_->placeCursor(row, cellText(row + 1, kColRx).isEmpty() ? kColRx : col);
}

// ---- Group settings keys ---------------------------------------------------------------------

bool ChannelGridWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == groupNameBox_) {
            if (isEnter(key)) {
                focusNextChild();
                return true;
            }
            const QString t = key->text();
            const bool dropped = t == QLatin1String("\\") || t == QLatin1String("~");
            return isCtrlCutCopyPaste(key) || dropped;
        }
        for (QComboBox* c : groupSettingLists_)
            if (watched == c && isEnter(key)) {
                focusNextChild();
                return true;
            }
    }
    return QWidget::eventFilter(watched, event);
}

void ChannelGridWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (firstActivation_) {
        firstActivation_ = false;
        grid_->enterCurrentCell();
    }
}

void ChannelGridWindow::closeEvent(QCloseEvent* event)
{
    unloadWindow();
    QWidget::closeEvent(event);
}

void ChannelGridWindow::unloadWindow()
{
    if (unloaded_) return;
    unloaded_ = true;
    runTrapped(app_, "frmCommChInfo_Form_Unload", [&] {
        commitPendingEdits();
        app_.channelEdit.gridOpen = false;
        disconnect(&app_.events, nullptr, this, nullptr);
    });
}

}  // namespace zt::gui
