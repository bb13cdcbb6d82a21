#include "gui/transfer/frm_progress.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>

#include "core/link/transfer.h"
#include "gui/app_context.h"

namespace zt::gui {

frmProgress::frmProgress(AppContext& app, bool readKind, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      app_(app),
      read_(readKind)
{
    setObjectName("frmProgress");
    label1_ = new QLabel(this);
    label1_->setObjectName("Label1");
    label1_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label2_ = new QLabel("0%", this);
    label2_->setObjectName("Label2");
    label2_->setMinimumWidth(40);
    bar_ = new QProgressBar(this);
    bar_->setObjectName("ProgressBar1");
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(label1_, 0, 0);
    grid->addWidget(label2_, 0, 1);
    grid->setHorizontalSpacing(1);  // 10 twips
    grid->addWidget(bar_, 1, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    setMinimumWidth(360);
    applyLanguageTexts();
}

void frmProgress::applyLanguageTexts()
{
    setWindowTitle(app_.text(read_ ? 9027 : 9028));
    label1_->setText(app_.text(9029));
}

void frmProgress::setValue(int percent)
{
    bar_->setValue(std::clamp(percent, 0, 100));
    label2_->setText(QString::number(percent) + "%");
}

int frmProgress::value() const
{
    return bar_->value();
}
QString frmProgress::percentText() const
{
    return label2_->text();
}

void frmProgress::closeEvent(QCloseEvent* event)
{
    // Only the transfer closes the window.
    if (closing_)
        event->accept();
    else
        event->ignore();
}

void frmProgress::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) return;  // no cancelling from the keyboard
    QDialog::keyPressEvent(event);
}

}  // namespace zt::gui
