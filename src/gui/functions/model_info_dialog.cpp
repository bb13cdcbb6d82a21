#include "gui/functions/model_info_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/radio/models.h"
#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/text_codec.h"
#include "gui/widgets/common_buttons.h"
#include "gui/widgets/guarded_line_edit.h"

namespace zt::gui {

ModelInfoDialog::ModelInfoDialog(AppContext& app, QWidget* parent)
    : ModelInfoDialog(app, std::function<void()>{}, parent)
{
}

ModelInfoDialog::ModelInfoDialog(AppContext& app, std::function<void()> loadNewDocument,
                                 QWidget* parent)
    : QDialog(parent), loadNewDoc(std::move(loadNewDocument)), app_(app)
{
    setObjectName("FrmModelInfo");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    modelLabel_ = new QLabel(this);
    modelLabel_->setObjectName("Label1");
    bandLabel_ = new QLabel(this);
    bandLabel_->setObjectName("Label2");
    modelList_ = new QComboBox(this);
    modelList_->setObjectName("Combo1");
    bandList_ = new QComboBox(this);
    bandList_->setObjectName("Combo2");
    for (QComboBox* c : {modelList_, bandList_}) {
        c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        enterMovesOn(c);
    }
    modelLabel_->setBuddy(modelList_);
    bandLabel_->setBuddy(bandList_);

    const OkCancelButtons okCancel = newOkCancelButtons(*this);
    ok_ = okCancel.ok;
    cancel_ = okCancel.cancel;
    connect(ok_, &QPushButton::clicked, this, [this] { commandOkClick(); });

    auto* grid = new QGridLayout;
    grid->addWidget(modelLabel_, 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(modelList_, 0, 1);
    grid->addWidget(bandLabel_, 1, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(bandList_, 1, 1);
    grid->setColumnStretch(1, 1);
    auto* buttons = buttonRow({ok_, cancel_});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    applyLanguageTexts();
    // The model shown: the current one, the first entry when it is not offered.
    modelList_->addItems(modelEntries());
    const int model = modelList_->findText(fromRecordText(app_.state.ModelName));
    modelList_->setCurrentIndex(model >= 0 ? model : 0);
    // The bands of that model, built once, then the current band. A band text
    // the list does not offer (a document whose band code has no text) leaves
    // the first entry shown, so OK offers a band the model has.
    bandList_->addItems(bandEntries(modelList_->currentText()));
    bandList_->setCurrentIndex(0);
    const int band = bandList_->findText(fromRecordText(app_.state.BandText));
    if (band >= 0) bandList_->setCurrentIndex(band);
}

QStringList ModelInfoDialog::modelEntries()
{
    return {QString::fromLatin1(kStandardModel)};
}

QStringList ModelInfoDialog::bandEntries(const QString& model)
{
    if (model == QString::fromLatin1(kStandardModel)) return {QString::fromLatin1(kStandardBand)};
    return {};
}

void ModelInfoDialog::applyLanguageTexts()
{
    setWindowTitle(app_.text(text::model::ModelInformationWindowCaption));
    modelLabel_->setText(app_.text(text::model::ModelInformationModelLabel));
    bandLabel_->setText(app_.text(text::model::ModelInformationBandLabel));
    captionCommonButtons(*this, app_.texts.lookup());
}

void ModelInfoDialog::commandOkClick()
{
    const std::string model = toRecordText(modelList_->currentText());
    const std::string band = toRecordText(bandList_->currentText());
    if (model != app_.state.ModelName || band != app_.state.BandText) {
        Message question;
        question.textId = text::msg::NewDocumentForModel;
        question.titleId = text::msg::ModelChangeTitle;
        question.icon = Icon::Warning;
        question.buttons = Buttons::OkCancel;
        if (app_.prompt->ask(question) == Answer::Ok) {
            app_.state.ModelName = model;
            app_.state.setBandText(band);  // parses the band limits again
            const auto code = static_cast<std::int16_t>(bandCodeOfText(band));
            app_.documents.working().Data.BandCode = code;
            app_.state.RadioInfo.BandCode = code;
            if (loadNewDoc) loadNewDoc();
        }
    }
    accept();
}

}  // namespace zt::gui
