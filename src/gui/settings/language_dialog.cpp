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

    languageLabel_ = new QLabel(this);
    languageLabel_->setObjectName("Label1");
    languageList_ = new QComboBox(this);
    languageList_->setObjectName("Combo1");
    languageList_->addItem(QString());
    languageList_->addItem(QString());
    languageList_->setMinimumContentsLength(16);
    enterMovesOn(languageList_);
    languageLabel_->setBuddy(languageList_);

    const OkCancelButtons okCancel = newOkCancelButtons(*this);
    ok_ = okCancel.ok;
    cancel_ = okCancel.cancel;
    connect(ok_, &QPushButton::clicked, this, [this] { commandOkClick(); });

    auto* row = new QHBoxLayout;
    row->addWidget(languageLabel_);
    row->addWidget(languageList_, 1);
    auto* buttons = buttonRow({ok_, cancel_});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    applyLanguageTexts();
    // Entry index = language number - 1.
    const int language = app_.currentLanguage;
    languageList_->setCurrentIndex(
        language >= 1 && language <= languageList_->count() ? language - 1 : -1);
}

void LanguageDialog::applyLanguageTexts()
{
    setWindowTitle(app_.text(text::lang::LanguageWindowCaption));
    languageLabel_->setText(app_.text(text::lang::LanguageWindowLabel));
    languageList_->setItemText(0, app_.text(text::lang::LanguageListEntryEnglish));
    languageList_->setItemText(1, app_.text(text::lang::LanguageListEntryChinese));
    captionCommonButtons(*this, app_.texts.lookup());
}

void LanguageDialog::commandOkClick()
{
    const int chosen = languageList_->currentIndex() + 1;
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
