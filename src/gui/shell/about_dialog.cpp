#include "gui/shell/about_dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "core/text_ids.h"
#include "gui/app_context.h"

namespace zt::gui {

AboutDialog::AboutDialog(AppContext& app, QWidget* parent) : QDialog(parent), app_(app)
{
    setObjectName("frmAbout");
    icon_ = new QLabel(this);
    icon_->setObjectName("Image1");
    icon_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    icon_->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    lblTitle_ = new QLabel(this);
    lblTitle_->setObjectName("lblTitle");
    QFont f = lblTitle_->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    lblTitle_->setFont(f);
    lblVersion_ = new QLabel(this);
    lblVersion_->setObjectName("lblVersion");
    lblDescription_ = new QLabel(this);
    lblDescription_->setObjectName("lblDescription");
    lblDescription_->setWordWrap(true);
    lblDisclaimer_ = new QLabel(this);
    lblDisclaimer_->setObjectName("lblDisclaimer");
    lblDisclaimer_->setWordWrap(true);
    cmdOK_ = new QPushButton(this);
    cmdOK_->setObjectName("cmdOK");
    cmdOK_->setDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->addWidget(icon_, 0, 0, 3, 1);
    grid->addWidget(lblTitle_, 0, 1);
    grid->addWidget(lblVersion_, 1, 1);
    grid->addWidget(lblDescription_, 2, 1);
    grid->addWidget(lblDisclaimer_, 3, 0, 1, 2);
    grid->addWidget(cmdOK_, 4, 1, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    setMinimumWidth(420);
    applyLanguageTexts();
}

void AboutDialog::applyLanguageTexts()
{
    setWindowTitle(app_.text(text::about::AboutWindowCaption));
    lblTitle_->setText(app_.text(text::about::AboutTitle));
    lblVersion_->setText(app_.text(text::about::AboutVersion));
    lblDescription_->setText(app_.text(text::about::AboutDescription));
    lblDisclaimer_->setText(app_.text(text::about::AboutDisclaimer));
    cmdOK_->setText(app_.text(text::about::AboutOkButton));
}

}  // namespace zt::gui
