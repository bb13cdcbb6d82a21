#include "gui/interop/import_preview_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/interop/import_preview_texts.h"

namespace zt::gui {
namespace {

// Columns of the change list.
enum ChangeColumn { ColChannel, ColLine, ColField, ColBefore, ColAfter, ColNote, ChangeColumns };
// Columns of the refused-row list.
enum ErrorColumn { ErrLine, ErrChannel, ErrColumn, ErrValue, ErrReason, ErrorColumns };

}  // namespace

ImportPreviewDialog::ImportPreviewDialog(AppContext& app, const ImportPlan& plan, QWidget* parent)
    : QDialog(parent), app_(app)
{
    setObjectName("FrmImportPreview");
    setWindowTitle(app.text(text::msg::ImportPreviewCaption));
    resize(780, 560);
    auto* column = new QVBoxLayout(this);

    summary_ = new QLabel(this);
    summary_->setObjectName("LabelSummary");
    summary_->setWordWrap(true);
    if (plan.fileRejected)
        summary_->setText(app.text(text::msg::ImportFileRejected));
    else if (plan.changes.empty())
        summary_->setText(app.text(text::msg::ImportNoChanges));
    else
        summary_->setText(app.text(text::msg::ImportPreviewHint));
    column->addWidget(summary_);

    auto* changesLabel = new QLabel(app.text(text::msg::ImportChangesLabel), this);
    changesLabel->setObjectName("LabelChanges");
    column->addWidget(changesLabel);
    changes_ = new QTreeWidget(this);
    changes_->setObjectName("ChangeList");
    changes_->setColumnCount(ChangeColumns);
    changes_->setHeaderLabels({app.text(text::channelinfo::PreviewHeadingChannel),
                               app.text(text::channelinfo::PreviewHeadingLine),
                               app.text(text::channelinfo::PreviewHeadingField),
                               app.text(text::channelinfo::PreviewHeadingBefore),
                               app.text(text::channelinfo::PreviewHeadingAfter),
                               app.text(text::channelinfo::PreviewHeadingNote)});
    column->addWidget(changes_, 3);

    auto* errorsLabel = new QLabel(app.text(text::msg::ImportRefusedLabel), this);
    errorsLabel->setObjectName("LabelRefused");
    column->addWidget(errorsLabel);
    errors_ = new QTableWidget(this);
    errors_->setObjectName("RowErrorList");
    errors_->setColumnCount(ErrorColumns);
    errors_->setHorizontalHeaderLabels({app.text(text::channelinfo::PreviewHeadingLine),
                                        app.text(text::channelinfo::PreviewHeadingChannel),
                                        app.text(text::channelinfo::PreviewHeadingColumn),
                                        app.text(text::channelinfo::PreviewHeadingValue),
                                        app.text(text::channelinfo::PreviewHeadingReason)});
    errors_->verticalHeader()->setVisible(false);
    errors_->horizontalHeader()->setStretchLastSection(true);
    errors_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    column->addWidget(errors_, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    import_ = new QPushButton(app.text(text::msg::ImportConfirmButton), this);
    import_->setObjectName("CommandImport");
    auto* cancel = new QPushButton(app.text(text::msg::CancelCaption), this);
    cancel->setObjectName("CommandCancel");
    cancel->setDefault(true);  // Enter alone never changes the document
    buttons->addWidget(import_);
    buttons->addWidget(cancel);
    column->addLayout(buttons);
    connect(import_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    fillChanges(plan);
    fillErrors(plan);
    changesLabel->setVisible(!plan.changes.empty());
    changes_->setVisible(!plan.changes.empty());
    errorsLabel->setVisible(!plan.errors.empty());
    errors_->setVisible(!plan.errors.empty());
    connect(changes_, &QTreeWidget::itemChanged, this, [this] { updateImportButton(); });
    updateImportButton();
}

void ImportPreviewDialog::fillChanges(const ImportPlan& plan)
{
    for (const ChannelChange& change : plan.changes) {
        auto* channel = new QTreeWidgetItem(changes_);
        channel->setText(ColChannel, QString::number(change.after.ChNo));
        channel->setText(ColLine, QString::number(change.line));
        if (change.created)
            channel->setText(ColField, app_.text(text::channelinfo::PreviewNewChannel));
        channel->setFlags(channel->flags() | Qt::ItemIsUserCheckable);
        channel->setCheckState(ColChannel, Qt::Checked);
        channel->setData(ColChannel, Qt::UserRole, change.after.ChNo);
        for (const FieldChange& field : changedFields(change, app_.state.Limits)) {
            auto* item = new QTreeWidgetItem(channel);
            item->setText(ColField, fieldCaption(app_, field.field));
            item->setText(ColBefore,
                          change.created ? QString() : fieldValueText(app_, field, false));
            item->setText(ColAfter, fieldValueText(app_, field, true));
            // A write to the radio does not carry the field: say so where it changes.
            if (!radioStoresField(field.field))
                item->setText(ColNote, app_.text(text::channelinfo::PreviewNotStoredByRadio));
        }
        channel->setExpanded(true);
    }
    for (int c = 0; c < ChangeColumns; ++c) changes_->resizeColumnToContents(c);
}

void ImportPreviewDialog::fillErrors(const ImportPlan& plan)
{
    errors_->setRowCount(static_cast<int>(plan.errors.size()));
    int row = 0;
    for (const RowError& error : plan.errors) {
        auto set = [&](int col, const QString& text) {
            errors_->setItem(row, col, new QTableWidgetItem(text));
        };
        set(ErrLine, error.line > 0 ? QString::number(error.line) : QString());
        set(ErrChannel, error.chNo > 0 ? QString::number(error.chNo) : QString());
        set(ErrColumn, QString::fromStdString(error.column));
        // The text as the file holds it.
        set(ErrValue, QString::fromUtf8(error.value.data(), static_cast<int>(error.value.size())));
        set(ErrReason, rowProblemText(app_, error.problem));
        ++row;
    }
    errors_->resizeColumnsToContents();
}

std::vector<int> ImportPreviewDialog::chosenChannels() const
{
    std::vector<int> chosen;
    for (int i = 0; i < changes_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = changes_->topLevelItem(i);
        if (item->checkState(ColChannel) == Qt::Checked)
            chosen.push_back(item->data(ColChannel, Qt::UserRole).toInt());
    }
    return chosen;
}

void ImportPreviewDialog::updateImportButton()
{
    import_->setEnabled(!chosenChannels().empty());
}

}  // namespace zt::gui
