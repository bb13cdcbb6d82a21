#include "gui/functions/radio_info_window.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/radio/models.h"
#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/text_codec.h"
#include "gui/widgets/common_buttons.h"

namespace zt::gui {
namespace {

constexpr int kLabelGapPx = 50 / 15;  // 50 twips between a label and its box

// One row: label id, control name.
struct Row {
    int textId;
    const char* control;
};

// From top to bottom; the maintenance description's label has two lines.
constexpr Row kMainRows[] = {
    {text::local::LabelSalesAreaCode, "TextAreaCode"},
    {text::local::LabelManufactureCode, "TextManufactureCode"},
    {text::local::LabelUserCode, "TextUserCode"},
    {text::local::LabelModel, "ComboModel"},
    {text::local::LabelBand, "ComboBand"},
    {text::local::LabelSerialNumber, "TextSerialNumber"},
    {text::local::LabelProductionDate, "TextProductionDate"},
    {text::local::LabelMaintenanceDate, "TextMaintenanceDate"},
    {text::local::LabelVersionInformation, "TextVersion"},
    {text::local::LabelMaintenanceDescriptionFirstLine, "TextMaintenanceDescription"},
};
constexpr Row kDealerRows[] = {
    {text::local::LabelDealerCode, "TextDealerCode"},
    {text::local::LabelStockInDate, "TextStockInDate"},
    {text::local::LabelSaleDate, "TextSaleDate"},
    {text::local::LabelSeller, "TextSeller"},
};

QFormLayout* newForm()
{
    auto* form = new QFormLayout;
    // Labels size themselves to their text and end a fixed gap left of the
    // common left edge of the boxes.
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setHorizontalSpacing(kLabelGapPx);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setRowWrapPolicy(QFormLayout::DontWrapRows);
    return form;
}

template <std::size_t N>
QString shown(const FixedText<N>& field)
{
    return fromRecordText(field.cut());
}

}  // namespace

RadioInfoWindow::RadioInfoWindow(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName("FrmRadioInfo");
    const int boxWidth = fontMetrics().horizontalAdvance(QString(20, 'W'));

    auto addRow = [this, boxWidth](QFormLayout* form, QWidget* owner, const Row& row) {
        auto* label = new QLabel(owner);
        label->setObjectName(QString("Label%1").arg(row.textId));
        QWidget* field = nullptr;
        const QString name = QString::fromLatin1(row.control);
        if (name.startsWith("Combo")) {
            auto* combo = new QComboBox(owner);
            combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
            field = combo;
        } else if (name == "TextMaintenanceDescription") {
            auto* box = new QPlainTextEdit(owner);
            box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            const int line = box->fontMetrics().lineSpacing();
            box->setFixedHeight(3 * line + 2 * box->frameWidth() +
                                2 * static_cast<int>(box->document()->documentMargin()));
            box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            field = box;
        } else {
            field = new QLineEdit(owner);
        }
        field->setObjectName(name);
        field->setMinimumWidth(boxWidth);
        field->setEnabled(false);  // shown, not editable
        // Disabled, yet as legible as an enabled box: the values are what the
        // window is for.
        QPalette pal = field->palette();
        pal.setColor(QPalette::Disabled, QPalette::Text,
                     pal.color(QPalette::Active, QPalette::Text));
        pal.setColor(QPalette::Disabled, QPalette::ButtonText,
                     pal.color(QPalette::Active, QPalette::ButtonText));
        field->setPalette(pal);
        label->setBuddy(field);
        form->addRow(label, field);
    };

    auto* mainForm = newForm();
    for (const Row& row : kMainRows) addRow(mainForm, this, row);
    // The version box takes the window's background colour.
    if (auto* version = findChild<QLineEdit*>("TextVersion")) {
        QPalette pal = version->palette();
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            pal.setColor(group, QPalette::Base, pal.color(group, QPalette::Window));
        version->setPalette(pal);
    }

    frame_ = new QGroupBox(this);
    frame_->setObjectName("Frame1");
    auto* dealerForm = newForm();
    for (const Row& row : kDealerRows) addRow(dealerForm, frame_, row);
    frame_->setLayout(dealerForm);

    close_ = new QPushButton(this);
    close_->setObjectName("CommandClose");
    connect(close_, &QPushButton::clicked, this, [this] { closeChildWindow(*this); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(mainForm);
    layout->addWidget(frame_);
    layout->addLayout(buttons);
    layout->addStretch(1);

    // Opening: the band list's one entry, the texts, then the record.
    if (auto* band = findChild<QComboBox*>("ComboBand"))
        band->addItem(QString::fromLatin1(kStandardBand));
    if (auto* model = findChild<QComboBox*>("ComboModel"))
        model->addItem(QString::fromLatin1(kModelEntry));
    applyLanguageTexts();
    showRecord();
}

void RadioInfoWindow::applyLanguageTexts()
{
    setWindowTitle(app_.text(text::local::RadioInformationWindowCaption));
    frame_->setTitle(app_.text(text::local::FrameDealerInformation));
    for (const Row& row : kMainRows)
        if (auto* label = findChild<QLabel*>(QString("Label%1").arg(row.textId)))
            label->setText(app_.text(row.textId));
    for (const Row& row : kDealerRows)
        if (auto* label = findChild<QLabel*>(QString("Label%1").arg(row.textId)))
            label->setText(app_.text(row.textId));
    // The maintenance description's label is two lines.
    if (auto* label = findChild<QLabel*>("Label21011"))
        label->setText(app_.text(text::local::LabelMaintenanceDescriptionFirstLine) + '\n' +
                       app_.text(text::local::LabelMaintenanceDescriptionSecondLine));
    captionCommonButtons(*this, app_.texts.lookup());
}

void RadioInfoWindow::showRecord()
{
    const RadioInfoRecord& r = app_.state.RadioInfo;
    auto set = [this](const char* name, const QString& text) {
        if (auto* box = findChild<QLineEdit*>(name)) box->setText(text);
    };
    set("TextAreaCode", fromRecordText(r.AreaCode));
    set("TextManufactureCode", shown(r.ManufactureCode));
    set("TextUserCode", shown(r.UserCode));
    set("TextSerialNumber", shown(r.SerialNumber));
    set("TextProductionDate", shown(r.ProductionDate));
    set("TextMaintenanceDate", shown(r.MaintenanceDate));
    set("TextVersion", fromRecordText(r.VersionText));
    set("TextDealerCode", shown(r.DealerCode));
    set("TextStockInDate", shown(r.StockInDate));
    set("TextSaleDate", shown(r.SaleDate));
    set("TextSeller", shown(r.Seller));
    if (auto* box = findChild<QPlainTextEdit*>("TextMaintenanceDescription"))
        box->setPlainText(shown(r.MaintenanceDescription));

    // The model list's one entry is shown whatever model text the record has.
    if (auto* model = findChild<QComboBox*>("ComboModel")) {
        const int i = model->findText(fromRecordText(r.ModelText));
        model->setCurrentIndex(i >= 0 ? i : 0);
    }
    // A band code without a text (any but 0) shows no entry.
    if (auto* band = findChild<QComboBox*>("ComboBand"))
        band->setCurrentIndex(band->findText(fromRecordText(bandTextOfCode(r.BandCode))));
}

}  // namespace zt::gui
