#include "gui/functions/password_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/edit/text_helpers.h"
#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/text_codec.h"
#include "gui/widgets/common_buttons.h"
#include "gui/widgets/guarded_line_edit.h"
#include "gui/widgets/twips.h"

namespace zt::gui {

PasswordDialog::PasswordDialog(AppContext& app, QWidget* parent) : QDialog(parent), app_(app)
{
    setObjectName("FrmPassWord");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    app_.passwordWindowShown = false;

    passwordLabel_ = new QLabel(this);
    passwordLabel_->setObjectName("Label1");
    passwordBox_ = new GuardedLineEdit(this);
    passwordBox_->setObjectName("Text1");
    // The password box takes any character a record byte can hold, the
    // clipboard included; Enter confirms like OK.
    passwordBox_->setMaxCharCode(0xFF);
    passwordBox_->setRefuseClipboard(false);
    passwordBox_->setEnterMovesOn(false);
    passwordBox_->setMaxLength(kMaxLength);
    passwordBox_->setMinimumWidth(passwordBox_->fontMetrics().horizontalAdvance(QString(6, 'W')) +
                                  12);
    passwordLabel_->setBuddy(passwordBox_);

    const OkCancelButtons okCancel = newOkCancelButtons(*this);
    ok_ = okCancel.ok;
    cancel_ = okCancel.cancel;
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, [this] { commandOkClick(); });

    auto* row = new QHBoxLayout;
    row->setSpacing(twipsToPixels(50));  // between the label and the box
    row->addWidget(passwordLabel_);
    row->addWidget(passwordBox_, 1);
    auto* buttons = buttonRow({ok_, cancel_});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    applyLanguageTexts();
    passwordBox_->setText(fromRecordText(app_.enteredPassword));
    app_.passwordWindowShown = true;
}

void PasswordDialog::applyLanguageTexts()
{
    setWindowTitle(app_.text(text::lang::ProgramPasswordWindowCaption));
    passwordLabel_->setText(app_.text(text::lang::ProgramPasswordLabel));
    captionCommonButtons(*this, app_.texts.lookup());
}

void PasswordDialog::commandOkClick()
{
    app_.enteredPassword = cutTextAtZero(toRecordText(passwordBox_->text()));
    accept();
}

}  // namespace zt::gui
