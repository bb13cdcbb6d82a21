#include "gui/channels/channel_fields.h"

#include "core/edit/channel_grid_rules.h"
#include "core/text_ids.h"
#include "core/values/frequency.h"
#include "gui/app_context.h"

namespace zt::gui {
namespace {

using R = ChannelRecord;
namespace ce = text::channeledit;

}  // namespace

const std::vector<ChannelField>& extraChannelFields()
{
    static const std::vector<ChannelField> fields = {
        {ce::LabelTransmitFrequency, 0, FieldKind::TxFrequency, nullptr},
        {ce::LabelBusyChannelLock, 11, FieldKind::Entries, &R::BusyChannelLock},
        {ce::LabelRBTone, 23, FieldKind::Reference, &R::RBTone, ReferenceKind::ToneTips},
        {ce::LabelDTMFCodeSentAtStartOfTransmission, 13, FieldKind::Reference, &R::BotCode,
         ReferenceKind::DtmfCodes},
        {ce::LabelDTMFCodeSentAtEndOfTransmission, 22, FieldKind::Reference, &R::EotCode,
         ReferenceKind::DtmfCodes},
        {ce::LabelDTMFCallCode, 28, FieldKind::Reference, &R::CallCode, ReferenceKind::DtmfCodes},
        {ce::LabelToneSquelch, 30, FieldKind::Entries, &R::Tsq},
        {ce::LabelRepeaterShift, 29, FieldKind::Entries, &R::Rep},
        {ce::CheckBoxRXExpander, 37, FieldKind::OnOff, &R::RxExpand},
        {ce::CheckBoxTXCompressor, 38, FieldKind::OnOff, &R::TxCompress},
        {ce::CheckBoxNoiseBlankerAutomaticNoiseLimiter, 39, FieldKind::OnOff, &R::NbAnl},
        {ce::CheckBoxAttenuator, 40, FieldKind::OnOff, &R::Attenuator},
        {ce::CheckBoxHiCutFilter, 41, FieldKind::OnOff, &R::HiCut},
        // Kept in the document and the data file, but no window lets the user choose them.
        {ce::LabelSquelchMode, 0, FieldKind::Number, &R::SquelchMode},
        {ce::LabelModulationAMFM, 0, FieldKind::Number, &R::AmFm},
        {ce::CheckBoxAMFMLock, 0, FieldKind::Number, &R::AmFmLock},
        {ce::LabelAMPower, 0, FieldKind::Number, &R::AmPower},
        {ce::CheckBoxAMPowerLock, 0, FieldKind::Number, &R::AmPowerLock},
        {ce::LabelFMPower, 0, FieldKind::Number, &R::FmPower},
        {ce::CheckBoxFMPowerLock, 0, FieldKind::Number, &R::FmPowerLock},
        {ce::LabelPTTID, 0, FieldKind::Number, &R::PttId},
        {ce::LabelReverseTalkAround, 0, FieldKind::Number, &R::RevTalk},
        {ce::LabelSignallingLogic, 0, FieldKind::Number, &R::SignalLogic},
        {ce::CheckBoxScrambler, 0, FieldKind::Number, &R::Scramble},
        {ce::CheckBoxTransmitInhibit, 0, FieldKind::Number, &R::TxInhibit},
        {ce::CheckBoxTalkAround, 0, FieldKind::Number, &R::Talkaround},
        {ce::CheckBoxReverse, 0, FieldKind::Number, &R::Reverse},
        {ce::CheckBoxWhisper, 0, FieldKind::Number, &R::Whisper},
        {ce::CheckBoxCompander, 0, FieldKind::Number, &R::Compander},
        {text::others::GridHeadingReceiveStep, 0, FieldKind::Number, &R::RxStep},
        {text::others::GridHeadingTransmitStep, 0, FieldKind::Number, &R::TxStep},
    };
    return fields;
}

FieldTexts FieldTexts::of(const AppContext& app)
{
    return FieldTexts{app.text(ce::ListEntryOffNone),
                      app.text(text::others::GridEntryOn),
                      app.text(ce::BusyLockSquelchModeEntry1Carrier),
                      app.text(ce::BusyLockSquelchModeEntry2CTCSSDCSTone),
                      app.text(ce::TSQEntry0),
                      app.text(ce::TSQEntry1)};
}

namespace {

// The entries of a list that does not depend on the document.
QStringList fixedEntries(const FieldTexts& t, const ChannelField& field, const ChannelRecord* rec)
{
    if (field.kind == FieldKind::OnOff) return {t.off, t.on};
    if (field.member == &R::BusyChannelLock) {
        QStringList entries{t.off, t.carrier};
        if (!rec || receiveTone(*rec) != 0) entries << t.tone;
        return entries;
    }
    if (field.member == &R::Tsq) return {t.tsqOff, t.tsqOn};
    return {t.off, QStringLiteral("+100K"), QStringLiteral("-100K")};  // repeater shift
}

}  // namespace

QStringList fieldEntries(const AppContext& app, const ChannelField& field, const ChannelRecord* rec)
{
    switch (field.kind) {
        case FieldKind::Reference: {
            const RadioData& data = app.documents.working().Data;
            QStringList entries{app.text(ce::ListEntryOffNone)};
            for (int n : field.references == ReferenceKind::ToneTips
                             ? definedToneTipNumbers(data)
                             : nonEmptyDtmfCodeNumbers(data))
                entries << QString::number(n);
            return entries;
        }
        case FieldKind::OnOff:
        case FieldKind::Entries:
            return fixedEntries(FieldTexts::of(app), field, rec);
        case FieldKind::Number:
        case FieldKind::TxFrequency:
            break;
    }
    return {};
}

int fieldValueOfEntry(const ChannelField& field, const QStringList& entries, int entry)
{
    if (field.kind == FieldKind::Reference)
        return entry <= 0 || entry >= entries.size() ? 0 : entries[entry].toInt();
    return entry;
}

QString fieldCellText(const FieldTexts& texts, const BandLimits& limits, const ChannelField& field,
                      const ChannelRecord& rec)
{
    if (field.kind == FieldKind::TxFrequency)
        return QString::fromStdString(
            txDisplay(rec.RxFre.cut(), rec.OffsetFre.cut(), rec.ShiftDir, false, limits));
    const int stored = rec.*field.member;
    // A reference list's entries are its numbers, so the stored number is what it shows
    // (also a number the list lacks: nothing is changed to show it).
    if (field.kind == FieldKind::Reference)
        return stored == 0 ? texts.off : QString::number(stored);
    if (field.kind == FieldKind::Number) return QString::number(stored);
    const QStringList entries = fixedEntries(texts, field, &rec);
    if (stored >= 0 && stored < entries.size()) return entries[stored];
    return QString::number(stored);
}

QString fieldHeading(const AppContext& app, const ChannelField& field)
{
    return app.text(field.headingId);
}

bool fieldEditableInGroup(const ChannelField& field, int group)
{
    if (field.fieldCode == 0) return false;
    return field.member != &R::Rep || group == kVfoGroup;
}

}  // namespace zt::gui
