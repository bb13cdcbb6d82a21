#include "gui/infotool/dealer_field_edits.h"

#include <QLineEdit>
#include <QStringList>
#include <algorithm>

#include "core/edit/infotool_rules.h"
#include "gui/prompt/prompt_service.h"
#include "gui/text_codec.h"

namespace zt::infotool {

namespace {

std::size_t at(DealerField field)
{
    return static_cast<std::size_t>(field);
}

QString heldText(const InfoToolRecord& radio, DealerField field)
{
    return gui::fromRecordText(trimRight(cutAtNul(dealerValue(radio, field))));
}

}  // namespace

DealerFieldEdits::DealerFieldEdits(std::array<QLineEdit*, kDealerFields.size()> edits, int language,
                                   gui::PromptService* prompt)
    : edits_(edits), language_(language), prompt_(prompt)
{
}

QLineEdit* DealerFieldEdits::edit(DealerField field) const
{
    return edits_[at(field)];
}

QString DealerFieldEdits::label(DealerField field) const
{
    // Field labels 9 to 13 stand beside Text1(8) to Text1(12).
    const std::string_view text = texts(language_).fieldLabels[9 + at(field)];
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool DealerFieldEdits::anyEmpty() const
{
    return std::any_of(edits_.begin(), edits_.end(),
                       [](const QLineEdit* e) { return e->text().isEmpty(); });
}

void DealerFieldEdits::recordShown()
{
    for (DealerField f : kDealerFields) shown_[at(f)] = edit(f)->text();
}

std::vector<DealerField> DealerFieldEdits::emptied() const
{
    std::vector<DealerField> fields;
    for (DealerField f : kDealerFields) {
        const QLineEdit* e = edit(f);
        if (e->text().isEmpty() && (e->isModified() || !shown_[at(f)].isEmpty()))
            fields.push_back(f);
    }
    return fields;
}

std::optional<std::vector<DealerField>> DealerFieldEdits::askBeforeClearing(
    const InfoToolRecord& radio)
{
    InfoToolRecord form;
    for (DealerField f : kDealerFields) dealerValue(form, f) = gui::toRecordText(edit(f)->text());
    const std::vector<DealerField> held = emptyFieldsTheRadioHolds(form, radio);
    if (held.empty() || prompt_ == nullptr) return std::vector<DealerField>{};
    QStringList lines;
    for (DealerField f : held) lines << label(f) + QStringLiteral(": ") + heldText(radio, f);
    Message m;
    m.text = std::string(texts(language_).clearHeldFields) + "\n" + lines.join('\n').toStdString();
    m.buttons = Buttons::YesNoCancel;
    m.icon = Icon::Question;
    m.defaultAnswer = Answer::No;  // Enter keeps what the radio holds
    switch (prompt_->ask(m)) {
        case Answer::Cancel:
            return std::nullopt;
        case Answer::No:
            for (DealerField f : held) edit(f)->setText(heldText(radio, f));
            return std::vector<DealerField>{};
        default:
            return held;
    }
}

}  // namespace zt::infotool
