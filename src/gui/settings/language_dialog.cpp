#include "gui/settings/language_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/files/settings.h"
#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/widgets/common_buttons.h"
#include "gui/widgets/guarded_line_edit.h"

namespace zt::gui {

LanguageDialog::LanguageDialog(AppContext& app, QWidget* parent) : QDialog(parent), app_(app)
{
    setObjectName("FrmSetLanguage");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    label1_ = new QLabel(this);
    label1_->setObjectName("Label1");
    combo1_ = new QComboBox(this);
    combo1_->setObjectName("Combo1");
    combo1_->addItem(QString());
    combo1_->addItem(QString());
    combo1_->setMinimumContentsLength(16);
    enterMovesOn(combo1_);
    label1_->setBuddy(combo1_);

    const OkCancelButtons okCancel = newOkCancelButtons(*this);
    ok_ = okCancel.ok;
    cancel_ = okCancel.cancel;
    connect(ok_, &QPushButton::clicked, this, [this] { commandOkClick(); });

    auto* row = new QHBoxLayout;
    row->addWidget(label1_);
    row->addWidget(combo1_, 1);
    auto* buttons = buttonRow({ok_, cancel_});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    applyLanguageTexts();
    // Entry index = language number - 1.
    const int language = app_.currentLanguage;
    combo1_->setCurrentIndex(language >= 1 && language <= combo1_->count() ? language - 1 : -1);
}

void LanguageDialog::applyLanguageTexts()
{
    setWindowTitle(app_.text(text::lang::LanguageWindowCaption));
    label1_->setText(app_.text(text::lang::LanguageWindowLabel));
    combo1_->setItemText(0, app_.text(text::lang::LanguageListEntryEnglish));
    combo1_->setItemText(1, app_.text(text::lang::LanguageListEntryChinese));
    captionCommonButtons(*this, app_.texts.lookup());
}

void LanguageDialog::commandOkClick()
{
    const int chosen = combo1_->currentIndex() + 1;
    if (chosen >= kLanguageEnglish && chosen <= kLanguageChinese &&
        chosen != app_.currentLanguage) {
        // The main window keeps showing the applied language until it is
        // activated again.
        app_.currentLanguage = chosen;
        app_.texts.setLanguage(chosen);
    }
    if (!saveCurrentLanguage(app_.paths, app_.currentLanguage))
        app_.prompt->ask(settingsNotSaved(app_.paths.mySetupIni().string()));
    accept();
}

}  // namespace zt::gui
