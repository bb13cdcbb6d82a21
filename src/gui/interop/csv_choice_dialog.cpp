#include "gui/interop/csv_choice_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/text_ids.h"
#include "gui/app_context.h"

namespace zt::gui {

CsvChoiceDialog::CsvChoiceDialog(AppContext& app, const QString& objectName, int captionId,
                                 const Choice& first, const Choice& second, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(app.text(captionId));
    auto* column = new QVBoxLayout(this);
    first_ = new QRadioButton(first.text, this);
    first_->setObjectName(first.objectName);
    first_->setChecked(true);
    second_ = new QRadioButton(second.text, this);
    second_->setObjectName(second.objectName);
    column->addWidget(first_);
    column->addWidget(second_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(app.text(text::msg::OkCaption), this);
    ok->setObjectName("CommandOK");
    ok->setDefault(true);
    auto* cancel = new QPushButton(app.text(text::msg::CancelCaption), this);
    cancel->setObjectName("CommandCancel");
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    column->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool CsvChoiceDialog::secondChosen() const
{
    return second_->isChecked();
}

}  // namespace zt::gui
