#include "gui/history/backups_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/interop/document_compare.h"
#include "core/link/document_after_write.h"
#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/history/comparison_dialog.h"

namespace zt::gui {

namespace {

enum Column { ColTime, ColKind, ColDifference, Columns };
// Rows worked out per turn of the event loop.
constexpr int kDifferencesPerTick = 8;

int kindTextId(SnapshotKind kind)
{
    switch (kind) {
        case SnapshotKind::Read:
            return text::msg::SnapshotKindRead;
        case SnapshotKind::BeforeWrite:
            return text::msg::SnapshotKindBeforeWrite;
        case SnapshotKind::Written:
            return text::msg::SnapshotKindWritten;
    }
    return text::msg::SnapshotKindRead;
}

}  // namespace

BackupsDialog::BackupsDialog(AppContext& app, SnapshotStore& store, QWidget* parent)
    : QDialog(parent), app_(app), store_(store)
{
    setObjectName("FrmBackups");
    setWindowTitle(app.text(text::msg::BackupsCaption));
    resize(820, 520);
    auto* column = new QVBoxLayout(this);
    const RetentionRule rule = store.retention();
    auto* retention = new QLabel(
        rule.keepDays == 0
            ? app.text(text::msg::BackupsRetentionAll).arg(rule.keepAtLeast)
            : app.text(text::msg::BackupsRetention).arg(rule.keepDays).arg(rule.keepAtLeast),
        this);
    retention->setObjectName("LabelRetention");
    retention->setWordWrap(true);
    column->addWidget(retention);
    auto* folder = new QLabel(QString::fromStdString(store.root().string()), this);
    folder->setObjectName("LabelFolder");
    folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(folder);

    auto* lists = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(app.text(text::msg::BackupsRadios), this));
    radios_ = new QListWidget(this);
    radios_->setObjectName("RadioList");
    for (const std::string& r : store.radios()) radios_->addItem(QString::fromStdString(r));
    left->addWidget(radios_);
    lists->addLayout(left, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(app.text(text::msg::BackupsSnapshots), this));
    table_ = new QTableWidget(this);
    table_->setObjectName("SnapshotTable");
    table_->setColumnCount(Columns);
    table_->setHorizontalHeaderLabels({app.text(text::msg::BackupsColumnTime),
                                       app.text(text::msg::BackupsColumnKind),
                                       app.text(text::msg::BackupsColumnDifference)});
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    right->addWidget(table_);
    lists->addLayout(right, 3);
    column->addLayout(lists, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    compare_ = new QPushButton(app.text(text::msg::CompareButton), this);
    compare_->setObjectName("CommandCompare");
    open_ = new QPushButton(app.text(text::msg::OpenAsDocumentButton), this);
    open_->setObjectName("CommandOpen");
    restore_ = new QPushButton(app.text(text::msg::RestoreButton), this);
    restore_->setObjectName("CommandRestore");
    auto* close = new QPushButton(app.text(text::msg::CloseCaption), this);
    close->setObjectName("CommandClose");
    close->setDefault(true);
    buttons->addWidget(compare_);
    buttons->addWidget(open_);
    buttons->addWidget(restore_);
    buttons->addWidget(close);
    column->addLayout(buttons);

    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(compare_, &QPushButton::clicked, this, [this] {
        if (compare && !chosenFile().empty()) compare(chosenFile());
    });
    connect(open_, &QPushButton::clicked, this, [this] {
        if (!openAsDocument || chosenFile().empty()) return;
        openAsDocument(chosenFile());
        accept();
    });
    connect(restore_, &QPushButton::clicked, this, [this] {
        if (!restoreToRadio || chosenFile().empty()) return;
        const std::filesystem::path file = chosenFile();
        // The write's own windows (progress, preview) come after this one closed.
        accept();
        restoreToRadio(file);
    });
    connect(radios_, &QListWidget::currentRowChanged, this, &BackupsDialog::showRadio);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &BackupsDialog::updateButtons);
    differenceTimer_.setInterval(0);
    connect(&differenceTimer_, &QTimer::timeout, this,
            [this] { fillDifferences(kDifferencesPerTick); });
    if (radios_->count() > 0) radios_->setCurrentRow(0);
    updateButtons();
}

void BackupsDialog::showRadio(int index)
{
    differenceTimer_.stop();
    shown_.clear();
    pending_.clear();
    nextPending_ = 0;
    table_->setRowCount(0);
    if (index < 0 || index >= radios_->count()) return updateButtons();
    shown_ = store_.list(radios_->item(index)->text().toStdString());
    table_->setRowCount(static_cast<int>(shown_.size()));
    for (int row = 0; row < static_cast<int>(shown_.size()); ++row) {
        const SnapshotInfo& s = shown_[static_cast<std::size_t>(row)];
        if (!s.problem.empty()) {
            table_->setItem(
                row, ColTime,
                new QTableWidgetItem(QString::fromStdString(s.file.filename().string())));
            table_->setItem(row, ColDifference,
                            new QTableWidgetItem(app_.text(text::msg::SnapshotRefused) + " " +
                                                 QString::fromStdString(s.problem)));
            continue;
        }
        table_->setItem(row, ColTime,
                        new QTableWidgetItem(QString::fromStdString(formatUtcTime(s.time))));
        table_->setItem(row, ColKind, new QTableWidgetItem(app_.text(kindTextId(s.kind))));
        table_->setItem(row, ColDifference, new QTableWidgetItem(QStringLiteral("...")));
        pending_.push_back(row);
    }
    table_->resizeColumnToContents(ColTime);
    if (!shown_.empty()) table_->selectRow(0);
    if (!pending_.empty()) differenceTimer_.start();
    updateButtons();
}

void BackupsDialog::fillDifferences(int rows)
{
    const RadioDocument& open = app_.documents.working();
    for (int n = 0; n < rows && nextPending_ < static_cast<int>(pending_.size()); ++n) {
        const int row = pending_[static_cast<std::size_t>(nextPending_++)];
        const SnapshotLoad l = SnapshotStore::load(shown_[static_cast<std::size_t>(row)].file);
        QString cell;
        if (!l.snapshot) {
            cell = app_.text(text::msg::SnapshotRefused) + " " + QString::fromStdString(l.problem);
        } else {
            // Both documents as a write would leave them in that radio: fields a write
            // always stores the same way do not count as differences. A "written"
            // snapshot keeps the document as it was written, with those fields as the
            // document had them, so its side is seen the same way.
            const std::vector<std::uint8_t>& image = l.snapshot->image;
            const DocumentComparison c =
                compareDocuments(documentAfterWrite(l.snapshot->document, image),
                                 documentAfterWrite(open, image), app_.state.Limits);
            cell = c.equal() ? app_.text(text::msg::DifferenceEqual)
                             : comparisonCountsText(app_, c, text::msg::DifferenceCell);
        }
        table_->item(row, ColDifference)->setText(cell);
    }
    if (pendingDifferences() == 0) differenceTimer_.stop();
}

std::filesystem::path BackupsDialog::chosenFile() const
{
    const int row = table_->currentRow();
    if (row < 0 || row >= static_cast<int>(shown_.size())) return {};
    return shown_[static_cast<std::size_t>(row)].file;
}

void BackupsDialog::updateButtons()
{
    const bool chosen = !chosenFile().empty();
    compare_->setEnabled(chosen);
    open_->setEnabled(chosen);
    restore_->setEnabled(chosen);
}

}  // namespace zt::gui
