#include "gui/channels/channel_grid_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/edit/channel_grid_rules.h"
#include "core/text_ids.h"
#include "core/values/number_text.h"
#include "core/values/tones.h"
#include "gui/app_context.h"
#include "gui/channels/channel_editor_window.h"
#include "gui/channels/channel_windows.h"
#include "gui/text_codec.h"

namespace zt::gui {
namespace {

constexpr int kTwips = 15;  // twips per pixel
constexpr std::array<int, kGridColumns> kColumnTwips = {740, 1300, 0, 0, 1200, 1200,
                                                        0,   0,    0, 0, 1400};
constexpr std::array<int, kGridColumns> kHeadingIds = {
    text::channelinfo::GridHeadingRowNumber,
    text::channelinfo::GridHeadingReceiveFrequency,
    text::channelinfo::GridHeadingSignedTransmitOffset,
    text::channelinfo::GridHeadingChannelName,
    text::channelinfo::GridHeadingDecodeTone,
    text::channelinfo::GridHeadingEncodeTone,
    text::channelinfo::GridHeadingPower,
    text::channelinfo::GridHeadingScanList,
    text::channelinfo::GridHeadingOptionalSignalling,
    text::channelinfo::GridHeadingChannelSpacing,
    text::channelinfo::GridHeadingOpenTheChannelEditor};
const QColor kHeadingColour(0, 0, 155);
const QColor kRowNumberColour(0, 0, 255);
const QColor kButtonColour(255, 0, 0);
const QColor kButtonBackground(220, 220, 220);

bool isCtrlCutCopyPaste(const QKeyEvent* key)
{
    if (!(key->modifiers() & Qt::ControlModifier)) return false;
    return key->key() == Qt::Key_X || key->key() == Qt::Key_V || key->key() == Qt::Key_C;
}

bool isEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// The character a key types, or 0 for keys that type none (Backspace, arrows ...).
ushort typedChar(const QKeyEvent* key)
{
    const QString t = key->text();
    if (t.size() != 1) return 0;
    const ushort c = t.at(0).unicode();
    return c >= 32 ? c : 0;
}

}  // namespace

ChannelGridWindow::ChannelGridWindow(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    runTrapped(app_, "frmCommChInfo_Form_Load", [&] {
        setObjectName(QStringLiteral("frmCommChInfo"));
        registerChannelWindow(app_, this);
        ready_ = false;
        firstActivation_ = false;
        resize(6800 / kTwips, 6600 / kTwips);
        buildControls();
        initGridLayout();
        applyLanguageTexts();
        app_.channelEdit.gridOpen = true;
        const int stored = app_.documents.working().Data.Options.CurrentGroup;
        const int group = stored >= 0 && stored < kChannelGroupCount ? stored : 0;
        {
            const QSignalBlocker block(combo7_);
            combo7_->setCurrentIndex(group);
        }
        showGroup(group);
        // The main window's function tree follows the open windows.
        for (QWidget* w = parentWidget(); w; w = w->parentWidget())
            if (qobject_cast<QMainWindow*>(w)) {
                QMetaObject::invokeMethod(w, "LoadTree", Qt::DirectConnection);
                break;
            }
        firstActivation_ = true;
        ready_ = true;
        filling_ = true;
        grid_->setCurrentCell(0, kColRx);
        filling_ = false;
    });
}

ChannelGridWindow::~ChannelGridWindow()
{
    unloadWindow();
    unregisterChannelWindow(this);
}

void ChannelGridWindow::buildControls()
{
    auto* top = new QHBoxLayout;
    label1_ = new QLabel(this);
    label1_->setObjectName("Label1");
    combo7_ = new QComboBox(this);
    combo7_->setObjectName("Combo7");
    for (int g = 0; g < kChannelGroupCount; ++g) combo7_->addItem(QString::number(g));
    label2_ = new QLabel(this);
    label2_->setObjectName("Label2");
    text3_ = new QLineEdit(this);
    text3_->setObjectName("Text3");
    text3_->setMaxLength(3);
    text3_->setFixedWidth(48);
    text3_->setContextMenuPolicy(Qt::NoContextMenu);
    text3_->installEventFilter(this);
    for (int i = 0; i < 4; ++i) {
        label3_[i] = new QLabel(this);
        label3_[i]->setObjectName(QString("Label3_%1").arg(i));
        combo8_[i] = new QComboBox(this);
        combo8_[i]->setObjectName(QString("Combo8_%1").arg(i));
        combo8_[i]->installEventFilter(this);
    }
    for (QLabel* l : {label1_, label2_, label3_[0], label3_[1]})
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The VFO group hides the emergency selectors; the other controls keep their places.
    for (QWidget* w :
         std::initializer_list<QWidget*>{label3_[0], label3_[1], combo8_[0], combo8_[1]}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }
    // Group and name on the first line, the two emergency channels on the second; each label
    // stands right-aligned before its control.
    auto* settings = new QGridLayout;
    settings->addWidget(label1_, 0, 0);
    settings->addWidget(combo7_, 0, 1);
    settings->addWidget(label2_, 0, 2);
    settings->addWidget(text3_, 0, 3);
    settings->addWidget(label3_[0], 1, 0);
    settings->addWidget(combo8_[0], 1, 1);
    settings->addWidget(label3_[1], 1, 2);
    settings->addWidget(combo8_[1], 1, 3);
    settings->setColumnStretch(4, 1);
    top->addLayout(settings);
    // The group's AM/FM settings are kept in the document but never shown.
    for (int i = 2; i < 4; ++i) {
        label3_[i]->hide();
        combo8_[i]->hide();
        combo8_[i]->move(-1000, -1000);
    }

    grid_ = new QTableWidget(this);
    grid_->setObjectName("MSFlexGrid1");
    grid_->installEventFilter(this);

    auto* buttons = new QHBoxLayout;
    commandChInfoEdit_ = new QPushButton(this);
    commandChInfoEdit_->setObjectName("CommandCHInfoEdit");
    commandClose_ = new QPushButton(this);
    commandClose_->setObjectName("CommandClose");
    buttons->addStretch(1);
    buttons->addWidget(commandChInfoEdit_);
    buttons->addWidget(commandClose_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_, 1, Qt::AlignHCenter);
    layout->addLayout(buttons);

    // Floating cell editors, children of the grid's viewport so they sit over their cell.
    text1_ = new QLineEdit(grid_->viewport());
    text1_->setObjectName("Text1");
    text1_->setMaxLength(9);
    text1_->setAlignment(Qt::AlignCenter);
    text1_->setContextMenuPolicy(Qt::NoContextMenu);
    text1_->installEventFilter(this);
    text2_ = new QLineEdit(grid_->viewport());
    text2_->setObjectName("Text2");
    text2_->setMaxLength(5);
    text2_->setAlignment(Qt::AlignCenter);
    text2_->setContextMenuPolicy(Qt::NoContextMenu);
    text2_->installEventFilter(this);
    for (int i = 0; i < 5; ++i) {
        lists_[i] = new QComboBox(grid_->viewport());
        lists_[i]->setObjectName(QString("Combo%1").arg(i + 1));
        lists_[i]->installEventFilter(this);
        // Long lists (265 tones) open about 20 rows high rather than screen high.
        lists_[i]->setMaxVisibleItems(20);
        lists_[i]->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    }
    lists_[0]->addItem(QString());
    for (int t = 1; t < kToneCount; ++t) lists_[0]->addItem(QString::fromStdString(toneText(t)));
    for (int i = 0; i < 3; ++i) lists_[1]->addItem(QString());
    for (int i = 0; i < 2; ++i) lists_[2]->addItem(QString());
    for (int i = 0; i < 2; ++i) lists_[3]->addItem(QString());
    for (int i = 0; i < 3; ++i) lists_[4]->addItem(QString());
    for (int i = 2; i < 4; ++i) combo8_[i]->addItems({"AM", "FM"});
    hideEditors();

    timerChEdit_.setSingleShot(true);
    timerChEdit_.setInterval(1000);
    timerChEdit_.setObjectName("TimerCHEdit");
    scrollTimer_.setSingleShot(true);
    scrollTimer_.setInterval(500);
    scrollTimer_.setObjectName("ScrollTimer");

    connect(combo7_, &QComboBox::currentIndexChanged, this, [this](int g) {
        if (g >= 0) showGroup(g);
    });
    connect(text3_, &QLineEdit::textChanged, this, &ChannelGridWindow::onGroupNameEdited);
    for (int i = 0; i < 4; ++i)
        connect(combo8_[i], &QComboBox::currentIndexChanged, this,
                [this, i] { onEmergencyChosen(i); });
    connect(grid_, &QTableWidget::currentCellChanged, this, [this](int, int, int, int) {
        // A click that moves the cursor enters the cell here; its Click must not enter it again.
        enteredByChange_ = QApplication::mouseButtons() != Qt::NoButton;
        enterCell();
    });
    connect(grid_, &QTableWidget::cellClicked, this, [this](int, int) {
        if (enteredByChange_) {
            enteredByChange_ = false;
            return;
        }
        if (!timerChEdit_.isActive()) enterCell();
    });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, &ChannelGridWindow::onDoubleClick);
    connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &ChannelGridWindow::onScroll);
    connect(text1_, &QLineEdit::textEdited, this, [this] { text1Dirty_ = true; });
    connect(text2_, &QLineEdit::editingFinished, this, [this] {
        if (text2_->isVisible() && !text2_->hasFocus()) Conclude();
    });
    for (int i = 0; i < 5; ++i)
        connect(lists_[i], &QComboBox::activated, this, [this, i] { onListActivated(i); });
    connect(commandChInfoEdit_, &QPushButton::clicked, this, [this] {
        Conclude();
        openChannelEditor(false);
    });
    connect(commandClose_, &QPushButton::clicked, this, [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->close();
        else
            close();
    });
}

void ChannelGridWindow::initGridLayout()
{
    runTrapped(app_, "frmCommChInfo_InitShowGridError", [&] {
        grid_->setColumnCount(kGridColumns);
        grid_->verticalHeader()->hide();
        grid_->horizontalHeader()->setFixedHeight(500 / kTwips);
        grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        grid_->horizontalHeader()->setMinimumSectionSize(0);
        grid_->horizontalHeader()->setHighlightSections(false);
        // Headings wrap onto the two lines the heading row has room for.
        grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter |
                                                       Qt::Alignment(Qt::TextWordWrap));
        grid_->horizontalHeader()->setSectionsClickable(false);
        grid_->verticalHeader()->setDefaultSectionSize(20);
        grid_->setSelectionMode(QAbstractItemView::SingleSelection);
        grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
        grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid_->setFixedWidth(6200 / kTwips);
        grid_->setStyleSheet(
            QStringLiteral("QHeaderView::section { color: rgb(0,0,155); font-weight: bold;"
                           " background: rgb(236,236,236); border: 1px solid #c0c0c0; }"
                           "QTableWidget { gridline-color: #c8c8c8; }"
                           "QTableWidget::item:selected { background: rgb(190,215,245);"
                           " color: black; }"));
        for (int c = 0; c < kGridColumns; ++c) {
            grid_->setColumnWidth(c, kColumnTwips[c] / kTwips);
            // Columns of width 0 stay filled but cannot be seen.
            grid_->setColumnHidden(c, kColumnTwips[c] == 0);
            auto* heading = new QTableWidgetItem;
            heading->setForeground(kHeadingColour);
            grid_->setHorizontalHeaderItem(c, heading);
        }
    });
}

void ChannelGridWindow::applyLanguageTexts()
{
    runTrapped(app_, "frmCommChInfo_ChangShowByLanguage", [&] {
        const bool wasFilling = filling_;
        filling_ = true;
        label1_->setText(app_.text(text::channelinfo::LabelGroupSelector));
        label2_->setText(app_.text(text::channelinfo::LabelGroupName));
        label3_[0]->setText(app_.text(text::channelinfo::LabelEmergencyChannel1));
        label3_[1]->setText(app_.text(text::channelinfo::LabelEmergencyChannel2));
        for (int c = 0; c < kGridColumns; ++c)
            if (auto* h = grid_->horizontalHeaderItem(c)) h->setText(app_.text(kHeadingIds[c]));
        numberRows();
        lists_[0]->setItemText(0, app_.text(text::channelinfo::ListEntryNoToneNoneOff));
        for (int i = 0; i < 3; ++i)
            lists_[1]->setItemText(i, app_.text(text::channelinfo::PowerListEntry0 + i));
        for (int i = 0; i < 2; ++i)
            lists_[2]->setItemText(
                i, app_.text(text::channelinfo::ScanListEntry0ChannelIsScanned + i));
        lists_[3]->setItemText(0, app_.text(text::channelinfo::ListEntryNoToneNoneOff));
        lists_[3]->setItemText(1, app_.text(text::channelinfo::OptionalSignallingEntry1));
        for (int i = 0; i < 3; ++i)
            lists_[4]->setItemText(i, app_.text(text::channelinfo::SpacingEntry0 + i));
        commandChInfoEdit_->setText(app_.text(text::channelinfo::ButtonOpenTheChannelEditor));
        commandClose_->setText(app_.text(text::msg::CloseCaption));
        for (int i = 0; i < 5; ++i) {
            const int col = i == 0 ? kColDecode : i + 5;
            QStringList entries;
            for (int k = 0; k < lists_[i]->count(); ++k) entries << lists_[i]->itemText(k);
            listEntries_[col] = entries;
            if (i == 0) listEntries_[kColEncode] = entries;
        }
        filling_ = wasFilling;
        // List cells show language texts: redisplay the shown group's rows.
        if (ready_) {
            const RadioDocument& doc = app_.documents.working();
            for (int i = 0; i < doc.Data.ChannelCount && i < static_cast<int>(doc.Channels.size());
                 ++i)
                if (const int row = rowInGroup(doc.Channels[i], shownGroup()); row > 0)
                    writeRowCells(row, doc.Channels[i]);
            setCaption();
        }
    });
}

int ChannelGridWindow::shownGroup() const
{
    return combo7_->currentIndex();
}

int ChannelGridWindow::currentRow() const
{
    return grid_->currentRow() + 1;
}

int ChannelGridWindow::currentCol() const
{
    return grid_->currentColumn();
}

QString ChannelGridWindow::cellText(int row, int col) const
{
    const QTableWidgetItem* item = grid_->item(row - 1, col);
    return item ? item->text() : QString();
}

void ChannelGridWindow::numberRows()
{
    for (int r = 0; r < grid_->rowCount(); ++r) {
        for (int c = 0; c < kGridColumns; ++c) {
            if (grid_->item(r, c)) continue;
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            grid_->setItem(r, c, item);
        }
        QTableWidgetItem* number = grid_->item(r, kColRow);
        number->setText(QString::number(r + 1));
        number->setForeground(kRowNumberColour);
        QTableWidgetItem* button = grid_->item(r, kColEditor);
        button->setText(QStringLiteral(">>"));
        button->setForeground(kButtonColour);
        button->setBackground(kButtonBackground);
    }
}

void ChannelGridWindow::setCaption()
{
    const int group = shownGroup();
    const QString label = fromRecordText(groupLabel(app_.documents.working().Data, group));
    setWindowTitle(app_.text(text::channelinfo::GridWindowCaption) + " " + label + " --- " + " " +
                   QString::number(currentRow()) + "]");
}

void ChannelGridWindow::showGroup(int group)
{
    runTrapped(app_, "frmCommChInfo_SetGridData", [&] {
        RadioDocument& doc = app_.documents.working();
        doc.Data.Options.CurrentGroup = static_cast<std::int16_t>(group);
        app_.channelEdit.currentGroup = group;
        showingGroup_ = true;
        hideEditors();
        filling_ = true;
        grid_->setRowCount(GroupSize(group));
        numberRows();
        grid_->setCurrentCell(0, kColRx);
        filling_ = false;
        setCaption();

        const bool vfo = group == kVfoGroup;
        {
            const QSignalBlocker block(text3_);
            text3_->setText(vfo ? QStringLiteral("VFO")
                                : fromRecordText(groupNameForDisplay(doc.Data.Groups[group])));
        }
        text3_->setEnabled(!vfo);
        for (int i = 0; i < 2; ++i) {
            label3_[i]->setVisible(!vfo);
            combo8_[i]->setVisible(!vfo);
        }
        ReshowByCh();

        for (int r = 1; r <= grid_->rowCount(); ++r) clearRowCells(r);
        const int count =
            std::min<int>(doc.Data.ChannelCount, static_cast<int>(doc.Channels.size()));
        for (int i = 0; i < count; ++i)
            if (const int row = rowInGroup(doc.Channels[i], group); row > 0)
                writeRowCells(row, doc.Channels[i]);
        showingGroup_ = false;
        reloadEditor();
        if (auto* editor = loadedEditor(app_)) editor->SetGridEditData(true);
    });
    showingGroup_ = false;
}

void ChannelGridWindow::ChangeGroup()
{
    const int group = app_.channelEdit.currentGroup;
    if (group < 0 || group >= kChannelGroupCount) return;
    if (combo7_->currentIndex() == group)
        showGroup(group);
    else
        combo7_->setCurrentIndex(group);
}

void ChannelGridWindow::clearRowCells(int row)
{
    for (int c = 1; c <= kLastEditableColumn; ++c)
        if (QTableWidgetItem* item = grid_->item(row - 1, c)) item->setText(QString());
}

void ChannelGridWindow::writeRowCells(int row, const ChannelRecord& rec)
{
    auto set = [&](int col, const QString& text) {
        if (QTableWidgetItem* item = grid_->item(row - 1, col)) item->setText(text);
    };
    auto listCell = [&](int col, int stored) {
        const QStringList& entries = listEntries_[col];
        const int index = shownListIndex(stored, static_cast<int>(entries.size()));
        set(col, index < 0 ? QString() : entries[index]);
    };
    bool notNumeric = false;
    set(kColRx, QString::fromStdString(rxCellText(rec, app_.state.Limits, &notNumeric)));
    if (notNumeric && app_.prompt) app_.prompt->showText(QStringLiteral("Not IsNumeric"));
    set(kColTx, QString::fromStdString(txCellText(rec)));
    listCell(kColDecode, rec.DecodeTone);
    listCell(kColEncode, rec.EncodeTone);
    listCell(kColScanSkip, rec.ScanSkip);
    listCell(kColOptSignal, rec.OptSignal);
    listCell(kColSpacing, rec.Spacing);
}

void ChannelGridWindow::reShowGrid(int chNo)
{
    runTrapped(app_, "frmCommChInfo_reShowGrid", [&] {
        const int group = app_.channelEdit.currentGroup;
        const int row = chNo - GroupBase(group);
        if (row < 1 || row > grid_->rowCount()) return;
        ChannelRecord* rec = app_.documents.working().findChannel(chNo);
        if (!rec) {
            clearRowCells(row);
            return;
        }
        writeRowCells(row, *rec);
        applyBusyLockFallback(*rec);
    });
}

void ChannelGridWindow::ReshowByCh()
{
    const int group = shownGroup();
    const EmergencyLists lists = reshowEmergency(app_.documents.working(), group);
    QStringList rows;
    for (int r : lists.rows) rows << QString::number(r);
    for (int i = 0; i < 2; ++i) {
        const QSignalBlocker block(combo8_[i]);
        combo8_[i]->clear();
        combo8_[i]->addItems(rows);
        combo8_[i]->setCurrentIndex(lists.shown[i]);
    }
    for (int i = 2; i < 4; ++i) {
        const QSignalBlocker block(combo8_[i]);
        combo8_[i]->setCurrentIndex(lists.amFmShown[i - 2]);
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
        chooseEmergencyRow(data, shownGroup(), which, toRecordText(combo8_[which]->currentText()));
    else
        chooseGroupAmFm(data, shownGroup(), which - 2, combo8_[which]->currentIndex());
}

// ---- Cell editing ----------------------------------------------------------------------

void ChannelGridWindow::hideEditors()
{
    text1_->hide();
    text2_->hide();
    for (QComboBox* l : lists_) l->hide();
}

void ChannelGridWindow::moveCursor(int row, int col)
{
    if (grid_->currentRow() == row - 1 && grid_->currentColumn() == col)
        enterCell();
    else
        grid_->setCurrentCell(row - 1, col);
}

void ChannelGridWindow::enterCell()
{
    topRowAtEntry_ = grid_->rowAt(0) + 1;
    if (filling_ || !ready_ || showingGroup_) return;
    if (skipEntry_) {
        skipEntry_ = false;
        return;
    }
    RadioDocument& doc = app_.documents.working();
    ChannelEditState& st = app_.channelEdit;
    doc.Data.Options.CurrentGroup = static_cast<std::int16_t>(shownGroup());
    setCaption();
    takeFocus(grid_);
    prevEditCol_ = st.editCol;
    prevEditRow_ = st.editRow;
    const int row = currentRow();
    const int col = currentCol();
    if (skipChecks_) {
        skipChecks_ = false;
    } else {
        if (col >= 2 && col <= kLastEditableColumn && cellText(row, kColRx).isEmpty()) {
            st.editCol = kColRx;
            st.editRow = row;
            skipChecks_ = true;
            moveCursor(row, kColRx);
            return;
        }
        if (col == kColEncode && cellText(row, kColTx).isEmpty()) {
            st.editCol = kColTx;
            st.editRow = row;
            skipChecks_ = true;
            moveCursor(row, kColTx);
            return;
        }
    }
    hideEditors();
    EnterGridEdit();
}

void ChannelGridWindow::placeOver(QWidget* editor, int row, int col)
{
    const QRect cell = grid_->visualRect(grid_->model()->index(row - 1, col));
    editor->setGeometry(cell);
    editor->show();
    editor->raise();
}

QComboBox* ChannelGridWindow::listEditorOf(int col) const
{
    switch (col) {
        case 4:
        case 5:
            return lists_[0];
        case 6:
            return lists_[1];
        case 7:
            return lists_[2];
        case 8:
            return lists_[3];
        case 9:
            return lists_[4];
        default:
            return nullptr;
    }
}

void ChannelGridWindow::EnterGridEdit()
{
    runTrapped(app_, "frmCommChInfo_EnterGridEdit", [&] {
        ChannelEditState& st = app_.channelEdit;
        const int row = currentRow();
        const int col = currentCol();
        if (row < 1) return;
        st.editCol = col;
        st.editRow = row;
        topRowAtEntry_ = grid_->rowAt(0) + 1;
        if (auto* editor = loadedEditor(app_)) editor->SetGridEditData(true);
        const RadioData& data = app_.documents.working().Data;
        if (col == kColRx || col == kColTx) {
            if (!frequencyEditPermitted(data, st.currentGroup)) return;
            emit statusHint(QString());
            if (col == kColTx && cellText(row, col).isEmpty() && prevEditCol_ == kColRx &&
                prevEditRow_ == row)
                grid_->item(row - 1, col)->setText(cellText(row, kColRx));
            placeOver(text1_, row, col);
            text1_->setText(cellText(row, col));
            text1Dirty_ = false;
            takeFocus(text1_);
            if (!text1_->text().isEmpty()) text1_->selectAll();
        } else if (col == 3) {
            placeOver(text2_, row, col);
            listArmed_ = false;
            text2_->setText(fromRecordText(cutAtZero(toRecordText(cellText(row, col)))));
            takeFocus(text2_);
            if (!text2_->text().isEmpty()) text2_->selectAll();
        } else if (QComboBox* list = listEditorOf(col)) {
            placeOver(list, row, col);
            listArmed_ = false;
            const int index = list->findText(cellText(row, col), Qt::MatchExactly);
            list->setCurrentIndex(index);
            // Selecting the cell's entry counts as the list's first Click, which writes nothing.
            if (index >= 0) listArmed_ = true;
            list->setEnabled(true);
            takeFocus(list);
        }
    });
}

void ChannelGridWindow::reloadEditor()
{
    runTrapped(app_, "frmCommChInfo_SetShowEditData", [&] {
        const ChannelEditState& st = app_.channelEdit;
        if (st.editRow < 1 || st.editRow > grid_->rowCount()) return;
        const QString text = cellText(st.editRow, st.editCol);
        if (st.editCol == kColRx || st.editCol == kColTx) {
            text1_->setText(text);
            text1Dirty_ = false;
        } else if (st.editCol == 3) {
            text2_->setText(fromRecordText(cutAtZero(toRecordText(text))));
        } else if (QComboBox* list = listEditorOf(st.editCol)) {
            const QSignalBlocker block(list);
            list->setCurrentIndex(list->findText(text, Qt::MatchExactly));
        }
    });
}

bool ChannelGridWindow::FlexConcludeRx()
{
    bool present = false;
    runTrapped(app_, "frmCommChInfo_FlexConcludeRx", [&] {
        const int row = currentRow();
        present = !cellText(row, kColRx).isEmpty();
        if (!present) {
            app_.channelEdit.editCol = kColRx;
            app_.channelEdit.editRow = row;
            skipChecks_ = true;
            moveCursor(row, kColRx);
        }
    });
    return present;
}

void ChannelGridWindow::GridNextLine()
{
    runTrapped(app_, "frmCommChInfo_GridNextLine", [&] {
        int row = currentRow() + 1;
        if (row > grid_->rowCount()) row = 1;
        moveCursor(row, currentCol());
    });
}

void ChannelGridWindow::GridNextCol()
{
    runTrapped(app_, "rmCommChInfo_GridNextCol", [&] {
        for (int c = currentCol() + 1; c <= kLastEditableColumn; ++c)
            if (!grid_->isColumnHidden(c) && grid_->columnWidth(c) > 0) {
                moveCursor(currentRow(), c);
                return;
            }
        skipEntry_ = true;
        moveCursor(currentRow(), kColRx);
        GridNextLine();
    });
}

void ChannelGridWindow::Conclude()
{
    const ChannelEditState st = app_.channelEdit;
    const int group = app_.channelEdit.currentGroup;
    if (st.editRow < 1 || st.editRow > grid_->rowCount()) return;
    QTableWidgetItem* cell = grid_->item(st.editRow - 1, st.editCol);
    auto write = [&](const QString& value) {
        channelWriteBack(app_,
                         WriteBackRequest{group, st.editRow, st.editCol, toRecordText(value)});
    };
    if (st.editCol == kColRx) {
        if (!text1_->isVisible()) return;
        text1Dirty_ = false;
        const QString formatted = formatFrequencyText(text1_->text());
        if (cell) cell->setText(formatted);
        write(formatted);
        reloadEditor();
    } else if (st.editCol == kColTx) {
        const QString typed = text1_->text();
        if (!text1_->isVisible() || !isNumeric(toRecordText(typed))) return;
        text1Dirty_ = false;
        if (cell) {
            if (typed.startsWith('+') || typed.startsWith('-'))
                cell->setText(typed.left(1) + formatFrequencyText(typed.mid(1)));
            else
                cell->setText(formatFrequencyText(typed));
        }
        write(typed);
        reloadEditor();
    } else if (st.editCol == 3) {
        if (!text2_->isVisible()) return;
        if (cell) cell->setText(text2_->text());
        write(text2_->text());
    } else if (QComboBox* list = listEditorOf(st.editCol)) {
        if (!list->isVisible()) return;
        if (cell) cell->setText(list->currentText());
        write(QString::number(list->currentIndex()));
    }
}

void ChannelGridWindow::commitPendingEdits()
{
    if (text1_->isVisible() && text1Dirty_) writeText1AsItStands();
}

void ChannelGridWindow::writeText1AsItStands()
{
    // The validation event of Text1: the entry is written as it stands, once.
    text1Dirty_ = false;
    const ChannelEditState st = app_.channelEdit;
    channelWriteBack(app_, WriteBackRequest{st.currentGroup, st.editRow, st.editCol,
                                            toRecordText(text1_->text())});
    // Written, changed by the rules or refused: the editor shows what the document holds.
    reloadEditor();
}

void ChannelGridWindow::takeFocus(QWidget* w)
{
    if (!passive_) w->setFocus(Qt::OtherFocusReason);
}

bool ChannelGridWindow::refuseLockedFrequencyCell()
{
    const int col = currentCol();
    if (col != kColRx && col != kColTx) return false;
    if (frequencyEditPermitted(app_.documents.working().Data, app_.channelEdit.currentGroup))
        return false;
    emit statusHint(app_.text(text::channelinfo::FixedFrequenciesHint));
    return true;
}

void ChannelGridWindow::windowDeactivated()
{
    if (!ready_ || unloaded_) return;
    runTrapped(app_, "frmCommChInfo_Form_LostFocus", [&] {
        commitPendingEdits();
        passive_ = true;
        enterCell();
        passive_ = false;
        text1_->hide();
    });
    passive_ = false;
}

void ChannelGridWindow::onListActivated(int listIndex)
{
    if (listEditorOf(app_.channelEdit.editCol) != lists_[listIndex]) return;
    if (listArmed_)
        Conclude();
    else
        listArmed_ = true;
}

void ChannelGridWindow::onScroll(int)
{
    if (scrollTimer_.isActive() || filling_ || !ready_) return;
    scrollTimer_.start();
    const int top = grid_->rowAt(0) + 1;
    const int row = currentRow() - topRowAtEntry_ + top;
    if (row < 1 || row > grid_->rowCount()) return;
    if (row != app_.channelEdit.editRow) moveCursor(row, currentCol());
}

void ChannelGridWindow::onDoubleClick(int, int col)
{
    timerChEdit_.start();
    refuseLockedFrequencyCell();
    if (col == kColEditor) openChannelEditor(true);
}

void ChannelGridWindow::openChannelEditor(bool focusAfter)
{
    if (ChannelEditorWindow* editor = loadedEditor(app_)) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(editor->parentWidget())) {
            if (QMdiArea* area = sub->mdiArea()) area->setActiveSubWindow(sub);
        } else {
            editor->activateWindow();
        }
        editor->setFocus();
        return;
    }
    QMdiArea* area = nullptr;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) area = sub->mdiArea();
    auto* editor = new ChannelEditorWindow(app_);
    if (area) {
        QMdiSubWindow* sub = area->addSubWindow(editor);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setObjectName(QStringLiteral("FrmCHInfoEditFrame"));
        editor->show();
        sub->show();
        if (focusAfter) area->setActiveSubWindow(sub);
    } else {
        editor->setAttribute(Qt::WA_DeleteOnClose);
        editor->show();
        if (focusAfter) editor->activateWindow();
    }
}

// ---- Keys ----------------------------------------------------------------------------------

bool ChannelGridWindow::handleText1Key(QKeyEvent* key)
{
    bool swallow = false;
    runTrapped(app_, "rmCommChInfo_Text1_KeyPress", [&] {
        const ChannelEditState& st = app_.channelEdit;
        if (isEnter(key)) {
            const int col = st.editCol;
            if (col >= 1 && col <= 3 &&
                frequencyEditPermitted(app_.documents.working().Data, st.currentGroup))
                Conclude();
            if (col == kColRx && text1_->text().isEmpty())
                GridNextLine();
            else if (col >= 1 && col <= 10)
                GridNextCol();
            swallow = true;
            return;
        }
        if (isCtrlCutCopyPaste(key)) {
            swallow = true;
            return;
        }
        const ushort c = typedChar(key);
        if (c == 0) return;
        if (c > 127) {
            swallow = true;
            return;
        }
        const bool digit = (c >= '0' && c <= '9') || c == '.';
        const bool sign = (c == '+' || c == '-') && st.editCol == kColTx && app_.habit.UseOffset;
        swallow = !(digit || sign);
    });
    return swallow;
}

bool ChannelGridWindow::handleText2Key(QKeyEvent* key)
{
    if (isEnter(key)) {
        Conclude();
        if (app_.channelEdit.editCol == kColRx && text1_->text().isEmpty())
            GridNextLine();
        else
            GridNextCol();
        return true;
    }
    if (isCtrlCutCopyPaste(key)) return true;
    const ushort c = typedChar(key);
    if (c == 0) return false;
    if (c > 127) return true;
    if (c >= 'a' && c <= 'z') {
        text2_->insert(QString(QChar(c - 'a' + 'A')));
        return true;
    }
    return !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'));
}

bool ChannelGridWindow::handleListKey(int col, QKeyEvent* key)
{
    if (!isEnter(key)) return false;
    const QString name = QString("frmCommChInfo_Combo%1_KeyPress").arg(col <= 5 ? 1 : col - 4);
    runTrapped(app_, name.toLatin1().constData(), [&] {
        if (col == kColRx && text1_->text().isEmpty())
            GridNextLine();
        else if (col >= 1 && col <= kLastEditableColumn)
            GridNextCol();
    });
    return true;
}

bool ChannelGridWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == text1_) return handleText1Key(key);
        if (watched == text2_) return handleText2Key(key);
        if (watched == grid_ && isEnter(key)) {
            refuseLockedFrequencyCell();
            EnterGridEdit();
            return true;
        }
        if (watched == grid_ && typedChar(key) != 0) {
            // Typing on the grid itself (a cell without an editor) neither searches nor
            // moves the cursor; in a fixed frequency cell the status bar says why.
            refuseLockedFrequencyCell();
            return true;
        }
        for (int i = 0; i < 5; ++i)
            if (watched == lists_[i]) return handleListKey(app_.channelEdit.editCol, key);
        if (watched == text3_) {
            if (isEnter(key)) {
                focusNextChild();
                return true;
            }
            const ushort c = typedChar(key);
            return isCtrlCutCopyPaste(key) || c == '\\' || c == '~';
        }
        for (QComboBox* c : combo8_)
            if (watched == c && isEnter(key)) {
                focusNextChild();
                return true;
            }
    } else if (event->type() == QEvent::FocusOut && watched == text1_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            text1_->isVisible() && text1Dirty_)
            writeText1AsItStands();
    } else if (event->type() == QEvent::FocusOut && watched == text2_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            text2_->isVisible())
            Conclude();
    }
    return QWidget::eventFilter(watched, event);
}

void ChannelGridWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()); frame && !watchingFrame_) {
        watchingFrame_ = true;
        connect(frame, &QMdiSubWindow::windowStateChanged, this,
                [this](Qt::WindowStates before, Qt::WindowStates now) {
                    if ((before & Qt::WindowActive) && !(now & Qt::WindowActive))
                        windowDeactivated();
                });
    }
    if (firstActivation_) {
        firstActivation_ = false;
        enterCell();
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
        unregisterChannelWindow(this);
    });
}

}  // namespace zt::gui
