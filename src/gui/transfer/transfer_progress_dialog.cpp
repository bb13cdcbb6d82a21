#include "gui/transfer/transfer_progress_dialog.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "core/link/transfer.h"
#include "core/text_ids.h"
#include "gui/app_context.h"

namespace zt::gui {

TransferProgressDialog::TransferProgressDialog(AppContext& app, bool readKind, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      app_(app),
      read_(readKind)
{
    setObjectName("frmProgress");
    progressLabel_ = new QLabel(this);
    progressLabel_->setObjectName("Label1");
    progressLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    percentLabel_ = new QLabel("0%", this);
    percentLabel_->setObjectName("Label2");
    percentLabel_->setMinimumWidth(40);
    bar_ = new QProgressBar(this);
    bar_->setObjectName("ProgressBar1");
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    cancel_ = new QPushButton(this);
    cancel_->setObjectName("cmdCancel");
    cancel_->setAutoDefault(false);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        // One click is enough: the transfer is stopping.
        cancel_->setEnabled(false);
        emit cancelClicked();
    });

    auto* grid = new QGridLayout(this);
    grid->addWidget(progressLabel_, 0, 0);
    grid->addWidget(percentLabel_, 0, 1);
    grid->setHorizontalSpacing(1);  // 10 twips
    grid->addWidget(bar_, 1, 0, 1, 2);
    grid->addWidget(cancel_, 2, 0, 1, 2, Qt::AlignRight);
    grid->setColumnStretch(0, 1);
    setMinimumWidth(360);
    applyLanguageTexts();
}

void TransferProgressDialog::applyLanguageTexts()
{
    setWindowTitle(app_.text(read_ ? text::msg::ProgressReading : text::msg::ProgressWriting));
    progressLabel_->setText(app_.text(text::msg::ProgressLabel));
    cancel_->setText(app_.text(text::msg::CancelCaption));
    bar_->setAccessibleName(windowTitle());
}

void TransferProgressDialog::setValue(int percent)
{
    const int shown = std::clamp(percent, 0, 100);
    const bool changed = shown != bar_->value();
    bar_->setValue(shown);
    percentLabel_->setText(QString::number(percent) + "%");
    // Screen readers hear the progress as it goes.
    if (changed) {
        QAccessibleValueChangeEvent event(bar_, shown);
        QAccessible::updateAccessibility(&event);
    }
}

int TransferProgressDialog::value() const
{
    return bar_->value();
}
QString TransferProgressDialog::percentText() const
{
    return percentLabel_->text();
}

void TransferProgressDialog::closeEvent(QCloseEvent* event)
{
    // Only the transfer closes the window.
    if (closing_)
        event->accept();
    else
        event->ignore();
}

void TransferProgressDialog::keyPressEvent(QKeyEvent* event)
{
    // Escape does not stop a transfer by accident; the Cancel button does.
    if (event->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(event);
}

}  // namespace zt::gui
